; The question asked when a tour of the entries is saved under a name a tour already has: "Sim"
; replaces the old tour with the new one; "Não", Enter and Escape keep it. A click beside the
; question only sounds the warning.
(table
  ("Class" "MessagesDialog")
  ("Origin X" 120)
  ("Origin Y" 140)
  ("Background Image" "roteiropergunta.bmp")
  ("Drag Rect" (rect 0 0 400 32))
  ("Dialog Beep Sound" (reference "Sounds/aviso.wav"))
  ("Pergunta" (control ("Class" "StaticText") ("Name" "Pergunta") ("TextRegion" (rect 16 50 368 34))
    ("Align" "Center") ("VAlign" "Center") ("Font" (font "Arial" 14 2)) ("Foreground Color" (rgb 112 24 24))
    ("Text" "Já existe um roteiro com este nome.")))
  ("Detalhe" (control ("Class" "StaticText") ("Name" "Detalhe") ("TextRegion" (rect 16 90 368 44))
    ("Align" "Center") ("Font" (font "Arial" 13 0)) ("Foreground Color" (rgb 64 16 16))
    ("Text" "Deseja substituí-lo pelo novo roteiro?")))
  ("Sim" (control ("Class" "Button") ("Name" "Sim") ("Hot Spot" (rect 60 152 120 32))
    ("UpImage" "btsim_up.bmp") ("DownImage" "btsim_down.bmp")
    ("DisabledImage" "btsim_off.bmp") ("RolloverImage" "btsim_over.bmp")))
  ("Não" (control ("Class" "Button") ("Name" "Não") ("Hot Spot" (rect 220 152 120 32))
    ("UpImage" "btnao_up.bmp") ("DownImage" "btnao_down.bmp")
    ("DisabledImage" "btnao_off.bmp") ("RolloverImage" "btnao_over.bmp")))
  ("Control List" (list (reference "Pergunta") (reference "Detalhe") (reference "Sim") (reference "Não"))))
