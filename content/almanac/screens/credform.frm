; The credits: the picture of intro.tbl's "Credits" rises through the framed window of the
; screen, 3 pixels every 50 ms, over its music; a click, or the end of the picture, goes back.
(table
  ("Class" "CreditsForm")
  ("Background Image" "credfundo.bmp")
  ("ScrollTimeout" 50)
  ("CreditsMusic" "creditos.wav")
  ("CreditsRect" (rect 120 80 400 340))
  ("CreditsImage" "creditos.bmp")
  ("CreditsMask" "credmask.bmp"))
