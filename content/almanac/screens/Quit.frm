; The question before leaving the program: "Sim" (and Enter) quits, "Não" (and Escape) stays.
(table
  ("Class" "QuitDlg")
  ("Origin X" 140)
  ("Origin Y" 130)
  ("Background Image" "sair.bmp")
  ("Drag Rect" (rect 0 0 360 32))
  ("OKButton" (control ("Class" "Button") ("Name" "OKButton") ("Hot Spot" (rect 50 170 120 32))
    ("UpImage" "btsim_up.bmp") ("DownImage" "btsim_down.bmp")
    ("DisabledImage" "btsim_off.bmp") ("RolloverImage" "btsim_over.bmp")))
  ("CancelButton" (control ("Class" "Button") ("Name" "CancelButton") ("Hot Spot" (rect 190 170 120 32))
    ("UpImage" "btnao_up.bmp") ("DownImage" "btnao_down.bmp")
    ("DisabledImage" "btnao_off.bmp") ("RolloverImage" "btnao_over.bmp")))
  ("Control List" (list (reference "OKButton") (reference "CancelButton"))))
