; The pop-up menu the menu bar opens ("PopUpMenu"): a picture menu with nothing of its own. The
; menu tables it is opened with (global.tbl) give its pictures, items and place.
(table
  ("Class" "PopUpMenu")
  ; The items' margin inside the menu's picture (the look is the menu's own: the data opening it
  ; give its picture, items and place).
  ("TextX" 6) ("TextY" 2)
  ("Control List" (list)))
