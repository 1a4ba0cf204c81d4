; The articles of the review of the year under a month or a category: headings, with their
; articles indented under them ("->"); "Brasil" and "Mundo" switch the region (the region shown
; has its button switched off). A click on an article opens it; a press outside the list, or a
; move back over the menu that opened it, closes it. The list's one tab stop is in the dialog's
; coordinates: 10 puts the rows' text inside the list's frame (from 8), not left of it.
(table
  ("Class" "ListasDlg")
  ("Origin X" 170)
  ("Origin Y" 80)
  ("Background Image" "listaretro.bmp")
  ("dbID" 3)
  ("Lista" (control ("Class" "TabbedListBox") ("Name" "Lista") ("Hot Spot" (rect 8 36 284 240))
    ("Font" (font "Arial" 13 0)) ("2aryFont" (font "Arial" 12 0)) ("Ident" 16) ("LineSpacing" 3) ("TextTopMargin" 2)
    ("BackgroundColor" 16777215) ("TextColor" 2105376) ("SelectionColor" 3158224) ("SelectionTextColor" 16777215)
    ("DrawBorder" true) ("BorderColor" 2631720) ("SingleClickNotify" true) ("TabList" (list 10))))
  ("Brasil" (control ("Class" "Button") ("Name" "Brasil") ("Hot Spot" (rect 50 286 90 24)) ("Disabled" true)
    ("UpImage" "lsbrasil_up.bmp") ("DownImage" "lsbrasil_down.bmp") ("DisabledImage" "lsbrasil_off.bmp")))
  ("Mundo" (control ("Class" "Button") ("Name" "Mundo") ("Hot Spot" (rect 160 286 90 24))
    ("UpImage" "lsmundo_up.bmp") ("DownImage" "lsmundo_down.bmp") ("DisabledImage" "lsmundo_off.bmp")))
  ("Control List" (list (reference "Lista") (reference "Brasil") (reference "Mundo"))))
