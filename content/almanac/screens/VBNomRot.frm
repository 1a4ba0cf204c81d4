; The name of a new tour: typed in "Nome"; "OK" or Enter take it, "Cancelar" or Escape give up.
; "Aviso" tells why a name was refused (empty, reserved or already a tour's).
(table
  ("Class" "NomeRoteiroDlg")
  ("Origin X" 160)
  ("Origin Y" 160)
  ("Background Image" "roteironome.bmp")
  ("Nome" (control ("Class" "TextField") ("Name" "Nome") ("Hot Spot" (rect 16 58 288 24))
    ("Font" (font "Arial" 13 0)) ("Border" true)))
  ("Aviso" (control ("Class" "StaticText") ("Name" "Aviso") ("TextRegion" (rect 16 88 288 18)) ("Text" " ")
    ("Font" (font "Arial" 12 2)) ("Save Background" true)))
  ("Ok" (control ("Class" "Button") ("Name" "Ok") ("Hot Spot" (rect 40 112 108 28))
    ("UpImage" "btok_up.bmp") ("DownImage" "btok_down.bmp") ("DisabledImage" "btok_off.bmp") ("RolloverImage" "btok_over.bmp")))
  ("Cancelar" (control ("Class" "Button") ("Name" "Cancelar") ("Hot Spot" (rect 172 112 108 28))
    ("UpImage" "btcancelar_up.bmp") ("DownImage" "btcancelar_down.bmp") ("DisabledImage" "btcancelar_off.bmp") ("RolloverImage" "btcancelar_over.bmp")))
  ("TabStopList" (list (reference "Nome")))
  ("Control List" (list (reference "Nome") (reference "Aviso") (reference "Ok") (reference "Cancelar"))))
