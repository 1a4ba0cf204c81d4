; The showcase's menu: items, a separator, an item switched off in "DisabledMenuItemsTable" and a
; cascade whose sub-menu opens beside its item (on its left here, since the right would pass
; the screen's edge).
(form
  ("Class" "MenuDialog")
  ("Name" "Menu")
  ("Resource Table"
    (table
      ("Origin X" 470)
      ("Origin Y" 300)
      ("Background" "menu_fundo.bmp")
      ("Width" 160)
      ("Height" 134)
      ("Font" (font "Arial" 14 0))
      ("TextX" 8)
      ("TextY" 4)
      ("Spacing" 4)
      ("SelectedBackgroundColor" 8401936)
      ("DisabledMenuItemsTable" (table ("Menu" (table ("Desativado" true)))))
      ("Items" (list (list "Abrir" 1) (list "---") (list "Mais opções" 2) (list "Desativado" 3)
                     (list "Sair do menu" 4)))
      ("CascadeTable"
        (table ("Mais opções"
                 (table ("DlgName" "submenu.etn") ("UseDefaultPosition" true) ("Background" "submenu_fundo.bmp")
                        ("Items" (list (list "Primeira" 21) (list "Segunda" 22))))))))))
