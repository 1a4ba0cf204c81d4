; The category pop-up of the section screens ("PopUpMenu1"): a picture menu with nothing of its
; own; the screen's "Trio" gives its pictures, items and place.
(table
  ("Class" "PopUpMenu1")
  ; The items' margin inside the menu's picture (the look is the menu's own: the data opening it
  ; give its picture, items and place).
  ("TextX" 6) ("TextY" 2)
  ("Control List" (list)))
