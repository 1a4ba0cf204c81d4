; The question asked when a database search is saved under a name a saved search already has:
; "Sim" replaces the saved search with the new one; "Não", Enter and Escape keep it. A click
; beside the question only sounds the warning.
(table
  ("Class" "MessagesDialog")
  ("Origin X" 120)
  ("Origin Y" 140)
  ("Background Image" "bdpergunta.bmp")
  ("Drag Rect" (rect 0 0 400 32))
  ("Dialog Beep Sound" (reference "Sounds/aviso.wav"))
  ("Pergunta" (control ("Class" "StaticText") ("Name" "Pergunta") ("TextRegion" (rect 16 50 368 34))
    ("Align" "Center") ("VAlign" "Center") ("Font" (font "Arial" 14 2)) ("Foreground Color" (rgb 64 48 112))
    ("Text" "Já existe uma pesquisa com este nome.")))
  ("Detalhe" (control ("Class" "StaticText") ("Name" "Detalhe") ("TextRegion" (rect 16 90 368 44))
    ("Align" "Center") ("Font" (font "Arial" 13 0)) ("Foreground Color" (rgb 32 24 64))
    ("Text" "Deseja substituí-la pela nova pesquisa?")))
  ("Sim" (control ("Class" "Button") ("Name" "Sim") ("Hot Spot" (rect 60 152 120 32))
    ("UpImage" "btsim_up.bmp") ("DownImage" "btsim_down.bmp")
    ("DisabledImage" "btsim_off.bmp") ("RolloverImage" "btsim_over.bmp")))
  ("Não" (control ("Class" "Button") ("Name" "Não") ("Hot Spot" (rect 220 152 120 32))
    ("UpImage" "btnao_up.bmp") ("DownImage" "btnao_down.bmp")
    ("DisabledImage" "btnao_off.bmp") ("RolloverImage" "btnao_over.bmp")))
  ("Control List" (list (reference "Pergunta") (reference "Detalhe") (reference "Sim") (reference "Não"))))
