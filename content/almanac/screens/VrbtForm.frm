; The entry page, showing the entry "Brasil" until the entry page reads its entries from the
; "Verbetes" archive: a text page whose links show every kind the text pages know (pictures,
; flags, animations, videos, timelines, tables, books, infographics, maps, a sound, another
; entry and the credits). "Copiar" puts its text on the clipboard, "Imprimir" prints it,
; "Voltar" goes back. The keys Home, End, Page Up, Page Down and the arrows scroll it.
(table
  ("Class" "VerbeteForm")
  ("Background Image" "verbfundo.bmp")
  ("PrintAttributes" (table ("Title" "Brasil") ("Header" "Velarim 98 - Verbetes") ("Footer" "Velarim 98")))
  ("Texto"
    (control
      ("Class" "TextView")
      ("Name" "Texto")
      ("HyperLink" true)
      ("Hot Spot" (rect 40 80 560 312))
      ("Font" (font "Times New Roman" 16 0))
      ("BackgroundColor" -1)
      ("Scroll" (table ("ScrollRegion" (rect 600 80 14 312)) ("ButtonHeight" 14) ("ThumbHeight" 20)))
      ("Text" "{\\b Brasil}\\par
\\par
O maior país da América do Sul ocupa cerca de 8,5 milhões de quilômetros quadrados, quase metade do continente, e faz fronteira com todos os países sul-americanos, exceto o Chile e o Equador. Veja o {\\uldb mapa político}!\\{mapa:mbpolit\\}, o {\\uldb relevo}!\\{info:mbrelev\\} e o país no {\\uldb atlas}!\\{mapa:Brasil\\}.\\par
\\par
São 26 estados e o Distrito Federal. A contagem da população de 1996 registrou cerca de 157 milhões de habitantes, a maioria nas cidades do litoral e do Sudeste; a {\\uldb população por região}!\\{imagem:in0001\\} mostra como se distribuem.\\par
\\par
{\\b História}\\par
Os portugueses chegaram ao litoral em 1500. A independência foi proclamada em 7 de setembro de 1822 e a República em 15 de novembro de 1889; quatro dias depois foi adotada a {\\uldb bandeira}!\\{bandeira:Bandeira do Brasil\\} com o lema Ordem e Progresso. A capital passou de Salvador ao Rio de Janeiro em 1763 e a {\\uldb Brasília}!\\{jump:VerbeteForm;Brasília\\} em 21 de abril de 1960 (veja as {\\uldb capitais brasileiras}!\\{crono:Capitais brasileiras, 1549-1960\\}).\\par
\\par
{\\b Natureza}\\par
O {\\uldb rio Amazonas}!\\{imagem:Rio Amazonas, vista aérea\\} leva ao mar mais água que qualquer outro rio do mundo (compare os {\\uldb maiores rios}!\\{tabela:Maiores rios do mundo\\}). Ouça o {\\uldb som da floresta}!\\{audio:floresta\\}.\\par
\\par
{\\b Cultura}\\par
A língua oficial é o português, a de {\\uldb Os Lusíadas}!\\{livro:Os Lusíadas\\}. Veja a {\\uldb baía de Guanabara}!\\{foto:Baía de Guanabara\\}, o {\\uldb Carnaval no Rio}!\\{video:Carnaval no Rio\\} e o {\\uldb voo do 14-Bis}!\\{anim:Voo do 14-Bis\\}, de Santos Dumont, em Paris, em 1906.\\par
\\par
{\\i Quem fez este disco? Veja os }{\\uldb créditos}!\\{jump:CreditsForm\\}.\\par
")))
  ("Copiar" (control ("Class" "Button") ("Name" "Copiar") ("Hot Spot" (rect 240 430 120 32))
    ("UpImage" "btcopiar_up.bmp") ("DownImage" "btcopiar_down.bmp")
    ("DisabledImage" "btcopiar_off.bmp") ("RolloverImage" "btcopiar_over.bmp")))
  ("Imprimir" (control ("Class" "Button") ("Name" "Imprimir") ("Hot Spot" (rect 380 430 120 32))
    ("UpImage" "btimprimir_up.bmp") ("DownImage" "btimprimir_down.bmp")
    ("DisabledImage" "btimprimir_off.bmp") ("RolloverImage" "btimprimir_over.bmp")))
  ("GoBack" (control ("Class" "Button") ("Name" "GoBack") ("Hot Spot" (rect 500 430 120 32))
    ("UpImage" "btvoltar_up.bmp") ("DownImage" "btvoltar_down.bmp")
    ("DisabledImage" "btvoltar_off.bmp") ("RolloverImage" "btvoltar_over.bmp")))
  ("Control List" (list (reference "Texto") (reference "Copiar") (reference "Imprimir") (reference "GoBack"))))
