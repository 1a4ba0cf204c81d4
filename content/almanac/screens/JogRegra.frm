; The quiz game's rules.
(table
  ("Class" "JogoRegrasDlg")
  ("Origin X" 80)
  ("Origin Y" 70)
  ("Background Image" "jgdlg_regras.bmp")
  ("Drag Rect" (rect 0 0 480 32))
  ("Texto" (control ("Class" "StaticText") ("Name" "Texto") ("TextRegion" (rect 16 44 448 240)) ("Font" (font "Arial" 14 0)) ("Foreground Color" (rgb 0 56 64)) ("Text" "Em cada tela há perguntas de geografia, história, ciências e cultura. Clique numa pergunta, escolha o nível e responda: Fácil vale 10 pontos, Difícil vale 20 e Muito Difícil vale 30. Quando todas as perguntas da tela estiverem respondidas, o botão Próximo leva à tela seguinte e os pontos entram no placar; o botão Placar mostra quantos você já fez. Voltar retorna à tela anterior. Sair deixa o jogo: da tela 5 à tela 26 você recebe uma senha para continuar a partida depois. Na última tela, quem somar 770 pontos ou mais é campeão!")))
  ("Ok" (control ("Class" "Button") ("Name" "Ok") ("Hot Spot" (rect 180 296 120 32))
    ("UpImage" "btok_up.bmp") ("DownImage" "btok_down.bmp")
    ("DisabledImage" "btok_off.bmp") ("RolloverImage" "btok_over.bmp")))
  ("Control List" (list (reference "Texto") (reference "Ok"))))
