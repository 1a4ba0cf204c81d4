; The gallery of the control set: push buttons (one disabled, one with a tip shown while the
; pointer rests on it), check boxes (a text label and a picture label), three options kept by a
; radio group, pictures whole, cut and stretched, a hot spot that counts the press at once, and
; static texts. The "Extras" check box shows and hides a group (a stretched picture and a centred
; text); every control reports its name and state in the white line at the bottom.
(form
  ("Class" "ShowcaseForm")
  ("Name" "Controles")
  ("Resource Table"
    (table
      ("Background Image" "controles_fundo.bmp")
      ("Botao"
        (control
          ("Class" "Button")
          ("Name" "Botao")
          ("Hot Spot" (rect 40 100 120 36))
          ("UpImage" "ctl_botao_up.bmp")
          ("DownImage" "ctl_botao_down.bmp")
          ("DisabledImage" "ctl_botao_off.bmp")
          ("AddedImage" (list (list "ctl_dica.bmp" 170 106)))
          ("Report" "Relato")))
      ("BotaoDesligado"
        (control
          ("Class" "Button")
          ("Name" "BotaoDesligado")
          ("Hot Spot" (rect 40 146 120 36))
          ("UpImage" "ctl_botao_up.bmp")
          ("DownImage" "ctl_botao_down.bmp")
          ("DisabledImage" "ctl_botao_off.bmp")
          ("Disabled" true)))
      ("Som"
        (control
          ("Class" "CheckBox")
          ("Name" "Som")
          ("Hot Spot" (rect 40 200 200 20))
          ("SelectedImage" "ctl_marcado.bmp")
          ("DeselectedImage" "ctl_desmarcado.bmp")
          ("Text" "Efeitos sonoros")
          ("Font" (font "Arial" 12 0))
          ("ForegroundColor" 16777215)
          ("Report" "Relato")))
      ("Extras"
        (control
          ("Class" "CheckBox")
          ("Name" "Extras")
          ("Hot Spot" (rect 40 230 200 20))
          ("SelectedImage" "ctl_marcado.bmp")
          ("DeselectedImage" "ctl_desmarcado.bmp")
          ("TextBitmap" "ctl_rotulo_extras.bmp")
          ("ShowGroup" "GrupoExtras")
          ("Report" "Relato")))
      ("OpcaoNorte"
        (control
          ("Class" "RadioButton")
          ("Name" "Norte")
          ("Hot Spot" (rect 40 290 100 20))
          ("SelectedImage" "ctl_opcao_sim.bmp")
          ("Mask" "ctl_opcao_mascara.bmp")
          ("DisabledImage" "ctl_opcao_off.bmp")
          ("RadioGroup" (reference "Opcoes"))
          ("Selected" true)
          ("Report" "Relato")))
      ("OpcaoSul"
        (control
          ("Class" "RadioButton")
          ("Name" "Sul")
          ("Hot Spot" (rect 40 320 100 20))
          ("SelectedImage" "ctl_opcao_sim.bmp")
          ("Mask" "ctl_opcao_mascara.bmp")
          ("DisabledImage" "ctl_opcao_off.bmp")
          ("RadioGroup" (reference "Opcoes"))
          ("Report" "Relato")))
      ("OpcaoLeste"
        (control
          ("Class" "RadioButton")
          ("Name" "Leste")
          ("Hot Spot" (rect 40 350 100 20))
          ("SelectedImage" "ctl_opcao_sim.bmp")
          ("Mask" "ctl_opcao_mascara.bmp")
          ("DisabledImage" "ctl_opcao_off.bmp")
          ("RadioGroup" (reference "Opcoes"))
          ("Report" "Relato")))
      ("Opcoes"
        (control
          ("Class" "RadioGroup")
          ("Name" "Opcoes")
          ("List" (list (reference "OpcaoNorte") (reference "OpcaoSul") (reference "OpcaoLeste")))))
      ("Foto"
        (control
          ("Class" "Bitmap")
          ("Name" "Foto")
          ("Image" "ctl_foto.bmp")
          ("X" 300)
          ("Y" 100)
          ("Hot Spot" (rect 300 100 120 80))
          ("Report" "Relato")))
      ("Recorte"
        (control
          ("Class" "Bitmap")
          ("Name" "Recorte")
          ("Image" "ctl_foto.bmp")
          ("X" 440)
          ("Y" 100)
          ("W" 60)
          ("H" 40)
          ("ClipImage" true)
          ("SrcX" 60)
          ("SrcY" 40)))
      ("Area"
        (control
          ("Class" "HotSpot")
          ("Name" "Area")
          ("Hot Spot" (rect 440 200 160 40))
          ("ReleaseOnMouseDown" true)
          ("Report" "Relato")))
      ("Esticada"
        (control
          ("Class" "Bitmap")
          ("Name" "Esticada")
          ("Image" "ctl_foto.bmp")
          ("X" 300)
          ("Y" 250)
          ("W" 300)
          ("H" 40)
          ("Save Background" true)
          ("Hidden" true)))
      ("Nota"
        (control
          ("Class" "StaticText")
          ("Name" "Nota")
          ("TextRegion" (rect 300 296 300 40))
          ("Text" "Um texto centrado nas duas direções, que quebra em mais de uma linha.")
          ("Align" "Center")
          ("VAlign" "Center")
          ("Font" (font "Arial" 12 2))
          ("Foreground Color" 7913215)
          ("Save Background" true)
          ("Hidden" true)))
      ("GrupoExtras"
        (control
          ("Class" "Group")
          ("Name" "GrupoExtras")
          ("List" (list (reference "Esticada") (reference "Nota")))))
      ("Legenda"
        (control
          ("Class" "StaticText")
          ("Name" "Legenda")
          ("TextRegion" (rect 300 340 300 36))
          ("Text" "À direita, embaixo")
          ("Align" "Right")
          ("VAlign" "Bottom")
          ("Font" (font "Arial" 12 0))
          ("Foreground Color" 16777215)))
      ("Relato"
        (control
          ("Class" "StaticText")
          ("Name" "Relato")
          ("TextRegion" (rect 40 384 400 20))
          ("Text" "Clique num controle.")
          ("Font" (font "Arial" 12 0))
          ("Background Color" 16777215)
          ("Save Background" true)))
      ("GoBack"
        (control
          ("Class" "Button")
          ("Name" "GoBack")
          ("Hot Spot" (rect 40 410 120 40))
          ("UpImage" "voltar_up.bmp")
          ("DownImage" "voltar_down.bmp")
          ("DisabledImage" "voltar_off.bmp")
          ("RolloverImage" "voltar_over.bmp")))
      ("Control List" (list (reference "Botao") (reference "BotaoDesligado") (reference "Som")
                            (reference "Extras") (reference "OpcaoNorte") (reference "OpcaoSul")
                            (reference "OpcaoLeste") (reference "Opcoes") (reference "Foto")
                            (reference "Recorte") (reference "Area") (reference "Esticada")
                            (reference "Nota") (reference "GrupoExtras") (reference "Legenda")
                            (reference "Relato") (reference "GoBack"))))))
