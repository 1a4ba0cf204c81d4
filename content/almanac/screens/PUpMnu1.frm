; The category pop-up of the section screens ("PopUpMenu1"): a picture menu with nothing of its
; own; the screen's "Trio" gives its pictures, items and place.
(table
  ("Class" "PopUpMenu1")
  ("Control List" (list)))
