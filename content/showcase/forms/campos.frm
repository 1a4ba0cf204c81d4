; The fields screen: a text field for a name, a field for a code of letters and digits (as the
; game's resume code), and an editable combo box of cities: a combo box whose field is a text
; field that writes what is typed into the selected city on Enter or when it loses the focus.
(form
  ("Class" "ShowcaseForm")
  ("Name" "Campos")
  ("Resource Table"
    (table
      ("Background Image" "fundo4.bmp")
      ("Nome"
        (control
          ("Class" "TextField")
          ("Name" "Nome")
          ("Hot Spot" (rect 40 130 300 28))
          ("Font" (font "Arial" 16 0))
          ("Border" true)
          ("ForegroundColor" 0)
          ("MaxLength" 30)))
      ("Senha"
        (control
          ("Class" "TextField")
          ("Name" "Senha")
          ("Hot Spot" (rect 40 200 160 28))
          ("Font" (font "Courier New" 16 0))
          ("Border" true)
          ("ForegroundColor" 0)
          ("IndentX" 4)
          ("Filter" "ABCDEFGHIJKLMNOPQRSTUVWXYZabcdefghijklmnopqrstuvwxyz0123456789")
          ("MaxLength" 8)))
      ("EditaCidade"
        (control
          ("Class" "TextCombo")
          ("Name" "EditaCidade")
          ("Hot Spot" (rect 40 270 276 28))
          ("Font" (font "Arial" 16 0))
          ("ForegroundColor" 0)
          ("ComboControl" "Cidade")
          ("MaxLength" 40)))
      ("Cidade"
        (control
          ("Class" "ComboEdit")
          ("Name" "Cidade")
          ("EditHotSpot" (rect 40 270 300 28))
          ("EditControl" "EditaCidade")
          ("Font" (font "Arial" 16 0))
          ("List" (list "Belém" "Manaus" "Santarém" "Macapá"))
          ("MaxItems" 4)
          ("DropButtonWidth" 22)
          ("DropButtonUpImage" "combo_up.bmp")
          ("DropButtonDownImage" "combo_down.bmp")
          ("TextColor" 0)
          ("SelectionColor" 8401936)
          ("TextSelectionColor" 16777215)
          ("DrawBorder" true)))
      ("GoBack"
        (control
          ("Class" "Button")
          ("Name" "GoBack")
          ("Hot Spot" (rect 40 410 120 40))
          ("UpImage" "voltar_up.bmp")
          ("DownImage" "voltar_down.bmp")
          ("DisabledImage" "voltar_off.bmp")
          ("RolloverImage" "voltar_over.bmp")))
      ("Control List" (list (reference "Nome") (reference "Senha") (reference "EditaCidade")
                            (reference "Cidade") (reference "GoBack"))))))
