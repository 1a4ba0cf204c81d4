; The quiz game's start: "Próximo" begins a new game or resumes a saved one.
(table
  ("Class" "JogoForm")
  ("Name" "Jogo0")
  ("Form Name" "tela00")
  ("Background Image" "jogo00.bmp")
  ("Sair" (control ("Class" "Button") ("Name" "Sair") ("Hot Spot" (rect 20 430 120 32))
    ("UpImage" "btsair_up.bmp") ("DownImage" "btsair_down.bmp")
    ("DisabledImage" "btsair_off.bmp") ("RolloverImage" "btsair_over.bmp")))
  ("Próximo" (control ("Class" "Button") ("Name" "Próximo") ("Hot Spot" (rect 500 430 120 32))
    ("UpImage" "btproximo_up.bmp") ("DownImage" "btproximo_down.bmp")
    ("DisabledImage" "btproximo_off.bmp") ("RolloverImage" "btproximo_over.bmp")))
  ("Control List" (list (reference "Sair") (reference "Próximo"))))
