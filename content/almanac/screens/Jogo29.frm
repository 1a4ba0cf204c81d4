; The end of the journey: "Final" goes back to the main menu.
(table
  ("Class" "JogoForm")
  ("Name" "Jogo29")
  ("Form Name" "tela29")
  ("Background Image" "jogo29.bmp")
  ("Sair" (control ("Class" "Button") ("Name" "Sair") ("Hot Spot" (rect 150 430 120 32))
    ("UpImage" "btsair_up.bmp") ("DownImage" "btsair_down.bmp")
    ("DisabledImage" "btsair_off.bmp") ("RolloverImage" "btsair_over.bmp")))
  ("Final" (control ("Class" "Button") ("Name" "Final") ("Hot Spot" (rect 370 430 120 32))
    ("UpImage" "btfinal_up.bmp") ("DownImage" "btfinal_down.bmp")
    ("DisabledImage" "btfinal_off.bmp") ("RolloverImage" "btfinal_over.bmp")))
  ("Control List" (list (reference "Sair") (reference "Final"))))
