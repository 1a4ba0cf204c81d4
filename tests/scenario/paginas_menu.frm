; A main menu for the page scenarios: the word search (the way to an entry page, as on the
; menu bar) and the credits, reached without the menu bar's own menus.
(table
  ("Class" "MainForm")
  ("Background Image" "prep_shell.bmp")
  ("Busca" (control ("Class" "HotSpot") ("Name" "Busca") ("Hot Spot" (rect 72 432 60 40))))
  ("IrCreditos" (control ("Class" "HotSpot") ("Name" "IrCreditos") ("Target Form" "CreditsForm")
    ("Hot Spot" (rect 340 380 200 60))))
  ("Control List" (list (reference "Busca") (reference "IrCreditos"))))
