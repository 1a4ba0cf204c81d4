; The caption box: a small note under a picture that shows the text it is given; a press
; outside it closes it. Its text may carry links, as every text dialog's.
(table
  ("Class" "CaptionDialog")
  ("Origin X" 170)
  ("Origin Y" 330)
  ("Width" 300)
  ("Height" 90)
  ("Background Image" "legenda.bmp")
  ("Texto" (control ("Class" "TextView") ("Name" "Texto") ("HyperLink" true)
    ("Hot Spot" (rect 8 6 284 78)) ("Font" (font "Arial" 12 0)) ("Text" "")))
  ("Control List" (list (reference "Texto"))))
