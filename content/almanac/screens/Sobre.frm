; The about box ("Sobre o Velarim", from the help menu): its picture says it all; "OK", Enter and
; Escape close it.
(table
  ("Class" "SobreDlg")
  ("Origin X" 120)
  ("Origin Y" 100)
  ("Background Image" "sobre.bmp")
  ("Drag Rect" (rect 0 0 400 32))
  ("OKButton" (control ("Class" "Button") ("Name" "OKButton") ("Hot Spot" (rect 140 228 120 32))
    ("UpImage" "btok_up.bmp") ("DownImage" "btok_down.bmp")
    ("DisabledImage" "btok_off.bmp") ("RolloverImage" "btok_over.bmp")))
  ("Control List" (list (reference "OKButton"))))
