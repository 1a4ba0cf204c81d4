; The tour editor: the user's tours on the left ("**" names are locked: shown, never changed),
; the entries of the selected one on the right. "Novo roteiro" asks for a name, "Excluir
; roteiro" deletes the selected tour, "Incluir verbete" adds the entry the editor was opened
; for, "Excluir verbete" takes out the selected entry. "OK" saves the tours; "Cancelar"
; and Escape leave them as they were.
(table
  ("Class" "VBCRDialog")
  ("Origin X" 80)
  ("Origin Y" 70)
  ("Background Image" "roteiros.bmp")
  ("Roteiros" (control ("Class" "PQListBox") ("Name" "Roteiros") ("Hot Spot" (rect 16 58 168 200))
    ("Font" (font "Arial" 13 0)) ("SingleClickNotify" true)))
  ("Verbetes" (control ("Class" "VLListBox") ("Name" "Verbetes") ("dbID" 0) ("Hot Spot" (rect 196 58 268 200))
    ("Font" (font "Arial" 13 0)) ("SingleClickNotify" true)))
  ("Incluir Roteiro" (control ("Class" "Button") ("Name" "Incluir Roteiro") ("Hot Spot" (rect 16 264 140 28))
    ("UpImage" "btincroteiro_up.bmp") ("DownImage" "btincroteiro_down.bmp") ("DisabledImage" "btincroteiro_off.bmp") ("RolloverImage" "btincroteiro_over.bmp")))
  ("Excluir Roteiro" (control ("Class" "Button") ("Name" "Excluir Roteiro") ("Hot Spot" (rect 16 296 140 28))
    ("UpImage" "btexcroteiro_up.bmp") ("DownImage" "btexcroteiro_down.bmp") ("DisabledImage" "btexcroteiro_off.bmp") ("RolloverImage" "btexcroteiro_over.bmp")))
  ("Incluir Verbete" (control ("Class" "Button") ("Name" "Incluir Verbete") ("Hot Spot" (rect 196 264 140 28))
    ("UpImage" "btincverbete_up.bmp") ("DownImage" "btincverbete_down.bmp") ("DisabledImage" "btincverbete_off.bmp") ("RolloverImage" "btincverbete_over.bmp")))
  ("Excluir Verbete" (control ("Class" "Button") ("Name" "Excluir Verbete") ("Hot Spot" (rect 196 296 140 28))
    ("UpImage" "btexcverbete_up.bmp") ("DownImage" "btexcverbete_down.bmp") ("DisabledImage" "btexcverbete_off.bmp") ("RolloverImage" "btexcverbete_over.bmp")))
  ("Ok" (control ("Class" "Button") ("Name" "Ok") ("Hot Spot" (rect 356 264 108 28))
    ("UpImage" "btok_up.bmp") ("DownImage" "btok_down.bmp") ("DisabledImage" "btok_off.bmp") ("RolloverImage" "btok_over.bmp")))
  ("Cancelar" (control ("Class" "Button") ("Name" "Cancelar") ("Hot Spot" (rect 356 296 108 28))
    ("UpImage" "btcancelar_up.bmp") ("DownImage" "btcancelar_down.bmp") ("DisabledImage" "btcancelar_off.bmp") ("RolloverImage" "btcancelar_over.bmp")))
  ("Control List" (list (reference "Roteiros") (reference "Verbetes") (reference "Incluir Roteiro")
                        (reference "Excluir Roteiro") (reference "Incluir Verbete") (reference "Excluir Verbete")
                        (reference "Ok") (reference "Cancelar"))))
