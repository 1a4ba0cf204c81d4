; A main menu for the page scenarios: two hot spots that go to the entry page (the text page
; "Brasil") and to the credits, reached without the menu bar's own menus.
(table
  ("Class" "MainForm")
  ("Background Image" "prep_shell.bmp")
  ("IrVerbete" (control ("Class" "HotSpot") ("Name" "IrVerbete") ("Target Form" "VerbeteForm")
    ("Hot Spot" (rect 100 380 200 60))))
  ("IrCreditos" (control ("Class" "HotSpot") ("Name" "IrCreditos") ("Target Form" "CreditsForm")
    ("Hot Spot" (rect 340 380 200 60))))
  ("Control List" (list (reference "IrVerbete") (reference "IrCreditos"))))
