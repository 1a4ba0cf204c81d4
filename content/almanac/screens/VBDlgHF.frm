; The tour browser of the entries home: a click on a tour shows its entries; a double click on an
; entry opens it on the entry page, which then steps through the tour. A press outside the box
; closes it.
(table
  ("Class" "VBDialogHF")
  ("Origin X" 110)
  ("Origin Y" 90)
  ("Background Image" "roteirosler.bmp")
  ("Roteiros" (control ("Class" "PQListBox") ("Name" "Roteiros") ("Hot Spot" (rect 16 58 168 224))
    ("Font" (font "Arial" 13 0)) ("SingleClickNotify" true)))
  ("VBListBox" (control ("Class" "VLListBox") ("Name" "VBListBox") ("dbID" 0) ("Hot Spot" (rect 196 58 208 224))
    ("Font" (font "Arial" 13 0))))
  ("Control List" (list (reference "Roteiros") (reference "VBListBox"))))
