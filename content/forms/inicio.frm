; The start form: a background, a button to the second form, a hot spot that goes there too,
; and the history's "back" button (disabled while there is nothing to go back to).
(form
  ("Class" "ShowcaseForm")
  ("Name" "Inicio")
  ("Resource Table"
    (table
      ("Background Image" "fundo1.bmp")
      ("Avancar"
        (control
          ("Class" "Button")
          ("Name" "Avancar")
          ("Hot Spot" (rect 240 200 160 48))
          ("UpImage" "avancar_up.bmp")
          ("DownImage" "avancar_down.bmp")
          ("DisabledImage" "avancar_off.bmp")
          ("RolloverImage" "avancar_over.bmp")
          ("Help" "Vai para a segunda página")
          ("Target Form" "Segunda")))
      ("Mapa"
        (control
          ("Class" "HotSpot")
          ("Name" "Mapa")
          ("Hot Spot" (rect 470 330 130 90))
          ("Target Form" "Segunda")))
      ("GoBack"
        (control
          ("Class" "Button")
          ("Name" "GoBack")
          ("Hot Spot" (rect 40 410 120 40))
          ("UpImage" "voltar_up.bmp")
          ("DownImage" "voltar_down.bmp")
          ("DisabledImage" "voltar_off.bmp")
          ("RolloverImage" "voltar_over.bmp")))
      ("Control List" (list (reference "Avancar") (reference "Mapa") (reference "GoBack"))))))
