; The atlas maps of a category: a click on one opens it in the atlas. A press outside the
; list, or a move back over the menu that opened it, closes it.
(table
  ("Class" "ListasDlg")
  ("Origin X" 200)
  ("Origin Y" 90)
  ("Background Image" "listaatlas.bmp")
  ("dbID" 4)
  ("Lista" (control ("Class" "VLListBox") ("Name" "Lista") ("dbID" 4) ("Hot Spot" (rect 8 36 184 216))
    ("Font" (font "Arial" 13 0)) ("LineSpacing" 3) ("TextTopMargin" 2)
    ("BackgroundColor" 16777215) ("TextColor" 2111504) ("SelectionColor" 3166224) ("SelectionTextColor" 16777215)
    ("DrawBorder" true) ("BorderColor" 3166224) ("SingleClickNotify" true)))
  ("Control List" (list (reference "Lista"))))
