; The text screen: a long text about the Amazon river in a text view that scrolls with its own
; scroll part (arrows, track and thumb from the list box's pictures), with a picture, a framed
; table of figures and links to the other screens; "Imprimir" prints the text, "Voltar" returns
; through the history.
(form
  ("Class" "ShowcaseForm")
  ("Name" "Texto")
  ("Resource Table"
    (table
      ("Background Image" "fundo3.bmp")
      ("Texto"
        (control
          ("Class" "TextView")
          ("Name" "Texto")
          ("Hot Spot" (rect 40 88 560 304))
          ("Auto Activate" true)
          ("Font" (font "Arial" 12 0))
          ("BackgroundColor" -1)
          ("BoxColor" 12638432)
          ("Scroll"
            (table
              ("ScrollRegion" (rect 586 88 14 304))
              ("ButtonHeight" 14)
              ("ThumbHeight" 20)
              ("UpImage" "lista_cima.bmp")
              ("DownImage" "lista_baixo.bmp")
              ("ThumbImage" "lista_cursor.bmp")
              ("ScrollBit" "lista_trilho.bmp")))
          ("Text" "{\\b O rio Amazonas}\\par
\\par
O Amazonas nasce nos Andes do Peru, a mais de cinco mil metros de altitude, e atravessa o norte da América do Sul até desaguar no oceano Atlântico, junto à ilha de Marajó. No Brasil, o trecho entre a fronteira e o encontro com o rio Negro é chamado de Solimões; dali em diante o rio toma o nome de Amazonas.\\par
\\par
{img rio.bmp\\}Nenhum outro rio do mundo leva tanta água ao mar. Na foz, a descarga média passa de duzentos mil metros cúbicos por segundo, perto de um quinto de toda a água doce que os rios do planeta entregam aos oceanos. A água barrenta avança tanto pelo Atlântico que os navegadores do século XVI encontraram água doce muito longe da costa e chamaram aquele trecho de Mar Dulce.\\par
\\par
{\\b Alguns números}\\par
\\pard\\tx3600 \\box5 Comprimento\\tab cerca de 6.400 km\\par
Área da bacia\\tab cerca de 7 milhões de km²\\par
Descarga média na foz\\tab cerca de 209.000 m³/s\\par
Afluentes principais\\tab mais de mil\\par
Países da bacia\\tab sete\\par
\\pard\\par
{\\i Números aproximados: as medidas variam conforme a fonte e o método.}\\par
\\par
Perto de Manaus acontece o Encontro das Águas: as águas escuras do rio Negro e as águas barrentas do Solimões correm lado a lado por vários quilômetros sem se misturar, porque têm temperatura, velocidade e densidade diferentes.\\par
\\par
Na época das cheias o rio sobe vários metros e invade a floresta, formando as matas de várzea e de igapó. Peixes como o tambaqui entram na mata alagada e se alimentam de frutos e sementes, ajudando a espalhar as árvores. Na foz, quando a maré encontra a correnteza, forma-se a pororoca, uma onda que sobe o rio com grande estrondo.\\par
\\par
A bacia amazônica abriga a maior floresta tropical do mundo e uma das maiores variedades de plantas e animais da Terra. Ali vivem o boto-cor-de-rosa, o peixe-boi da Amazônia e o pirarucu, um dos maiores peixes de água doce que se conhecem.\\par
\\par
{\\b Para continuar}\\par
Volte ao {\\uldb início do mostruário}!\\{jump:Inicio\\} ou visite a {\\uldb segunda página}!\\{jump:Segunda\\}.\\par
")))
      ("Imprimir"
        (control
          ("Class" "Button")
          ("Name" "Imprimir")
          ("Hot Spot" (rect 460 410 140 40))
          ("UpImage" "imprimir_up.bmp")
          ("DownImage" "imprimir_down.bmp")
          ("PrintView" "Texto")
          ("PrintAttributes"
            (table
              ("Title" "Texto de demonstração")
              ("Header" "Velarim 98 - Mostruário do framework")
              ("Footer" "Impresso pelo mostruário")))))
      ("GoBack"
        (control
          ("Class" "Button")
          ("Name" "GoBack")
          ("Hot Spot" (rect 40 410 120 40))
          ("UpImage" "voltar_up.bmp")
          ("DownImage" "voltar_down.bmp")
          ("DisabledImage" "voltar_off.bmp")
          ("RolloverImage" "voltar_over.bmp")))
      ("Control List" (list (reference "Texto") (reference "Imprimir") (reference "GoBack"))))))
