; Main menu of the sample: a form with its controls.
(form ("Class" "MainForm")
      ("Name" "Menu principal")
      ("Background Image" "fundo.bmp")
      ("Open Transition" 3)
      ("NoFade" false)
      ("Controls"
        (list
          (control ("Class" "Button") ("Name" "Atlas") ("Rect" (rect 20 400 120 40))
                   ("Font" (font "Arial" 12 bold)) ("Color" (rgb 255 255 0)))
          (control ("Class" "HotSpot") ("Name" "Mapa")
                   ("Region" (region (10 10) (200 15) (180 160) (15 140))))
          (control ("Class" "StaticText") ("Name" "Título") ("Text" "Ação e história\tde 1997")
                   ("Origin" (rect 320 12 200 20)) ("Back Color" black)))))
