; The entries of a category: a click on one opens it on the entry page. A press outside the
; list, or a move back over the menu that opened it, closes it.
(table
  ("Class" "ListasDlg")
  ("Origin X" 200)
  ("Origin Y" 90)
  ("Background Image" "listaverb.bmp")
  ("dbID" 0)
  ("Lista" (control ("Class" "VLListBox") ("Name" "Lista") ("dbID" 0) ("Hot Spot" (rect 8 36 184 216))
    ("Font" (font "Arial" 13 0)) ("LineSpacing" 3) ("TextTopMargin" 2)
    ("BackgroundColor" 16777215) ("TextColor" 1052736) ("SelectionColor" 1579120) ("SelectionTextColor" 16777215)
    ("DrawBorder" true) ("BorderColor" 1579120) ("SingleClickNotify" true)))
  ("Control List" (list (reference "Lista"))))
