; The sub-menu of the showcase's menu: its items and place come from the parent's cascade table.
(form
  ("Class" "MenuDialog")
  ("Name" "Submenu")
  ("Resource Table"
    (table
      ("Font" (font "Arial" 14 0))
      ("TextX" 8)
      ("TextY" 4)
      ("Spacing" 4)
      ("SelectedBackgroundColor" 8401936))))
