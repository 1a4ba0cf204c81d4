; The start form: a background, a button to the second form, a hot spot that goes there too,
; the history's "back" button (disabled while there is nothing to go back to), and buttons that
; run a dialog and a menu, and ones that open the text screen, the two galleries of controls
; the fields screen and the media screen.
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
      ("Estados"
        (control
          ("Class" "ListBox")
          ("Name" "Estados")
          ("Hot Spot" (rect 40 280 170 112))
          ("Font" (font "Arial" 14 0))
          ("List" (list "Acre" "Alagoas" "Amapá" "Amazonas" "Bahia" "Ceará" "Goiás" "Maranhão" "Pará"
                        "Paraná" "Pernambuco" "Piauí"))
          ("SelectionIndex" 0)
          ("BackgroundColor" 16777215)
          ("TextColor" 0)
          ("SelectionColor" 8401936)
          ("SelectionTextColor" 16777215)
          ("DrawBorder" true)
          ("ThumbImage" "lista_cursor.bmp")
          ("UpArrowImage" "lista_cima.bmp")
          ("DownArrowImage" "lista_baixo.bmp")
          ("ScrollBit" "lista_trilho.bmp")))
      ("Continente"
        (control
          ("Class" "ComboBox")
          ("Name" "Continente")
          ("EditHotSpot" (rect 240 280 200 24))
          ("Font" (font "Arial" 14 0))
          ("List" (list "África" "América do Norte" "América do Sul" "Ásia" "Europa" "Oceania"))
          ("MaxItems" 4)
          ("DropButtonWidth" 22)
          ("DropButtonUpImage" "combo_up.bmp")
          ("DropButtonDownImage" "combo_down.bmp")
          ("ThumbImage" "lista_cursor.bmp")
          ("TextColor" 0)
          ("SelectionColor" 8401936)
          ("TextSelectionColor" 16777215)
          ("DrawBorder" true)
          ("ControlsToDisable" (list (reference "Estados")))))
      ("AbrirDialogo"
        (control
          ("Class" "Button")
          ("Name" "AbrirDialogo")
          ("Hot Spot" (rect 470 110 130 36))
          ("UpImage" "abrir_dialogo_up.bmp")
          ("DownImage" "abrir_dialogo_down.bmp")
          ("Dialog" (reference "dialogo.etn"))))
      ("AbrirMenu"
        (control
          ("Class" "Button")
          ("Name" "AbrirMenu")
          ("Hot Spot" (rect 470 160 130 36))
          ("UpImage" "abrir_menu_up.bmp")
          ("DownImage" "abrir_menu_down.bmp")
          ("Dialog" (reference "menu.etn"))))
      ("AbrirTexto"
        (control
          ("Class" "Button")
          ("Name" "AbrirTexto")
          ("Hot Spot" (rect 470 210 130 36))
          ("UpImage" "abrir_texto_up.bmp")
          ("DownImage" "abrir_texto_down.bmp")
          ("Target Form" "Texto")))
      ("AbrirControles"
        (control
          ("Class" "Button")
          ("Name" "AbrirControles")
          ("Hot Spot" (rect 180 410 130 36))
          ("UpImage" "abrir_controles_up.bmp")
          ("DownImage" "abrir_controles_down.bmp")
          ("Target Form" "Controles")))
      ("AbrirCampos"
        (control
          ("Class" "Button")
          ("Name" "AbrirCampos")
          ("Hot Spot" (rect 470 260 130 36))
          ("UpImage" "abrir_campos_up.bmp")
          ("DownImage" "abrir_campos_down.bmp")
          ("Target Form" "Campos")))
      ("AbrirControles2"
        (control
          ("Class" "Button")
          ("Name" "AbrirControles2")
          ("Hot Spot" (rect 330 410 130 36))
          ("UpImage" "abrir_controles2_up.bmp")
          ("DownImage" "abrir_controles2_down.bmp")
          ("Target Form" "Controles2")))
      ("AbrirMidia"
        (control
          ("Class" "Button")
          ("Name" "AbrirMidia")
          ("Hot Spot" (rect 40 150 130 36))
          ("UpImage" "abrir_midia_up.bmp")
          ("DownImage" "abrir_midia_down.bmp")
          ("Target Form" "Midia")))
      ("Control List" (list (reference "Avancar") (reference "Mapa") (reference "GoBack")
                            (reference "Estados") (reference "Continente")
                            (reference "AbrirDialogo") (reference "AbrirMenu")
                            (reference "AbrirTexto") (reference "AbrirControles")
                            (reference "AbrirCampos") (reference "AbrirControles2")
                            (reference "AbrirMidia"))))))
