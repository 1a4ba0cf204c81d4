; The pop-up menu the menu bar opens ("PopUpMenu"): a picture menu with nothing of its own. The
; menu tables it is opened with (global.tbl) give its pictures, items and place.
(table
  ("Class" "PopUpMenu")
  ("Control List" (list)))
