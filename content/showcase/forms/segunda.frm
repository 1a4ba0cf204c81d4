; The second form: its own background and the "back" button, which returns through the history.
(form
  ("Class" "ShowcaseForm")
  ("Name" "Segunda")
  ("Resource Table"
    (table
      ("Background Image" "fundo2.bmp")
      ("GoBack"
        (control
          ("Class" "Button")
          ("Name" "GoBack")
          ("Hot Spot" (rect 40 410 120 40))
          ("UpImage" "voltar_up.bmp")
          ("DownImage" "voltar_down.bmp")
          ("DisabledImage" "voltar_off.bmp")
          ("RolloverImage" "voltar_over.bmp")))
      ("Control List" (list (reference "GoBack"))))))
