; The continent chooser (ContinentesDlg): the submenu "Continentes" of the atlas home's "Mundo"
; menu, placed beside its item; a choice answers the continent's map.
(table
  ("Class" "ContinentesDlg")
  ("Origin X" 360) ("Origin Y" 200) ("Width" 180) ("Height" 190)
  ("Background Image" "at_contlst.bmp")
  ("Lista" (control ("Class" "ListBox") ("Name" "Lista") ("Hot Spot" (rect 6 6 168 142))
    ("Font" (font "Arial" 13 0)) ("LineSpacing" 4) ("TextTopMargin" 2) ("BackgroundColor" 15793398) ("TextColor" 2111504)
    ("SelectionColor" 3166224) ("SelectionTextColor" 16777215) ("SingleClickNotify" true)
    ("List" (list "Europa" "Ásia" "África" "América do Norte" "América do Sul" "Oceania"))))
  ("Fechar" (control ("Class" "Button") ("Name" "Fechar") ("Hot Spot" (rect 38 154 104 28)) ("Action" "close")
    ("UpImage" "at_fechar_up.bmp") ("DownImage" "at_fechar_down.bmp") ("DisabledImage" "at_fechar_off.bmp")
    ("RolloverImage" "at_fechar_over.bmp")))
  ("Control List" (list (reference "Lista") (reference "Fechar"))))
