; The media library's item dialog: the category's items on the left, the selected item's
; picture with its caption on the right (a click on the picture opens the item), its related
; entries below; Fechar or a click outside the dialog closes it. "ImageTreatInfo" gives the
; picture's box beside a caption and without one.
(table
  ("Class" "MidiaHFDialog")
  ("Origin X" 40)
  ("Origin Y" 60)
  ("Background Image" "middlg.bmp")
  ("ImageTreatInfo" (table ("MaxFotoWidth" 200) ("MaxFotoHeight" 110) ("MaxWidth" 270) ("MaxHeight" 150)))
  ("MidiaList" (control ("Class" "VLListBox") ("Name" "MidiaList") ("Hot Spot" (rect 14 62 230 236))
    ("dbID" 1) ("Font" (font "Arial" 12 0)) ("DrawBorder" true)
    ("BackgroundColor" 16777215) ("TextColor" 0) ("SelectionColor" 6309912) ("SelectionTextColor" 16777215)))
  ("Legenda" (control ("Class" "TextView") ("Name" "Legenda") ("HyperLink" true) ("Hot Spot" (rect 262 66 280 164))
    ("Font" (font "Arial" 12 0)) ("BackgroundColor" -1) ("Text" "")))
  ("Verbetes" (control ("Class" "TextView") ("Name" "Verbetes") ("HyperLink" true) ("Hot Spot" (rect 262 254 280 42))
    ("Font" (font "Arial" 11 0)) ("BackgroundColor" -1) ("Text" "")))
  ("Fechar" (control ("Class" "Button") ("Name" "Fechar") ("Action" "close") ("Hot Spot" (rect 424 314 120 32))
    ("UpImage" "btfechar_up.bmp") ("DownImage" "btfechar_down.bmp") ("RolloverImage" "btfechar_over.bmp")))
  ("Control List" (list (reference "MidiaList") (reference "Legenda") (reference "Verbetes") (reference "Fechar"))))
