; The media items of a category: a click on one opens it in the media viewer. A press outside
; the list, or a move back over the menu that opened it, closes it.
(table
  ("Class" "ListasDlg")
  ("Origin X" 200)
  ("Origin Y" 90)
  ("Background Image" "listamid.bmp")
  ("dbID" 1)
  ("Lista" (control ("Class" "VLListBox") ("Name" "Lista") ("dbID" 1) ("Hot Spot" (rect 8 36 184 216))
    ("Font" (font "Arial" 13 0)) ("LineSpacing" 3) ("TextTopMargin" 2)
    ("BackgroundColor" 16777215) ("TextColor" 4206608) ("SelectionColor" 6309912) ("SelectionTextColor" 16777215)
    ("DrawBorder" true) ("BorderColor" 6309912) ("SingleClickNotify" true)))
  ("Control List" (list (reference "Lista"))))
