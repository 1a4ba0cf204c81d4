; The showcase's dialog: run modally over the start form, dragged by its title bar, ended by
; Escape or its "OK" button.
(form
  ("Class" "qelDialogObject")
  ("Name" "Dialogo")
  ("Resource Table"
    (table
      ("Origin X" 170)
      ("Origin Y" 140)
      ("Background Image" "dialogo.bmp")
      ("Drag Rect" (rect 0 0 300 28))
      ("OK"
        (control
          ("Class" "Button")
          ("Name" "OK")
          ("Hot Spot" (rect 110 112 80 32))
          ("UpImage" "ok_up.bmp")
          ("DownImage" "ok_down.bmp")
          ("Action" "close")))
      ("Control List" (list (reference "OK"))))))
