; The start screen the framework opens until the application object draws the start picture
; and opens the first screen itself: the start picture, nothing more.
(form
  ("Class" "ShowcaseForm")
  ("Name" "Abertura")
  ("Resource Table"
    (table
      ("Background Image" "indeo41.dib")
      ("Control List" (list)))))
