; The gallery of the almanac's list controls, shown with the disk's data. The gallery's
; installation (VL98.ini.in beside this file) opens it as the first screen, in the main menu's
; place, over the almanac's disk.
;
; Three database lists of three kinds at once, each showing its own names: the entries (their
; list ids in name order; a letter selects the next entry whose name begins with it), the atlas
; and the media library. The tabbed list holds the states and their capitals by region (the
; states indented, in the second font); the cell list the media items with their kind and
; whether they have a caption; the combo box and the record list mark their starred items in the
; second colours, without the stars.
(table
  ("Class" "MainForm")
  ("Background Image" "galeria.bmp")
  ("Verbetes" (control ("Class" "VLListBox") ("Name" "Verbetes") ("Hot Spot" (rect 16 78 200 240))
    ("dbID" 0) ("Font" (font "Arial" 12 0)) ("DrawBorder" true)
    ("BackgroundColor" 16777215) ("TextColor" 0) ("SelectionColor" 5777424) ("SelectionTextColor" 16777215)
    ("List" (list 7 66 15 8 16 61 17 5 18 49 47 14 19 1 2 57 63 20 64 12 21 53 22 54 69 51 23 68 11 52 9 55
                  24 25 26 27 50 56 28 48 29 30 31 32 62 10 65 4 33 34 35 6 44 43 42 46 45 36 37 13 38 58 3
                  39 67 40 60 41 59))))
  ("Atlas" (control ("Class" "VLListBox") ("Name" "Atlas") ("Hot Spot" (rect 232 78 144 70))
    ("dbID" 4) ("Font" (font "Arial" 12 0)) ("DrawBorder" true)
    ("BackgroundColor" 16777215) ("TextColor" 0) ("SelectionColor" 5777424) ("SelectionTextColor" 16777215)
    ("List" (list 0 1 2 3))))
  ("Midias" (control ("Class" "VLListBox") ("Name" "Midias") ("Hot Spot" (rect 232 176 144 142))
    ("dbID" 1) ("Font" (font "Arial" 12 0)) ("DrawBorder" true)
    ("BackgroundColor" 16777215) ("TextColor" 0) ("SelectionColor" 5777424) ("SelectionTextColor" 16777215)
    ("List" (list 1 2 3 4 5 6 7 8 9 10 11 12))))
  ("Capitais" (control ("Class" "TabbedListBox") ("Name" "Capitais") ("Hot Spot" (rect 392 78 232 240))
    ("Font" (font "Arial" 12 2)) ("2aryFont" (font "Arial" 12 0)) ("Ident" 10) ("TabList" (list 392 530))
    ("DrawBorder" true)
    ("BackgroundColor" 16777215) ("TextColor" 0) ("SelectionColor" 5777424) ("SelectionTextColor" 16777215)
    ("List" (list "Norte" "->Acre\tRio Branco" "->Amapá\tMacapá" "->Amazonas\tManaus" "->Pará\tBelém"
                  "->Rondônia\tPorto Velho" "->Roraima\tBoa Vista" "->Tocantins\tPalmas"
                  "Nordeste" "->Alagoas\tMaceió" "->Bahia\tSalvador" "->Ceará\tFortaleza" "->Maranhão\tSão Luís"
                  "->Paraíba\tJoão Pessoa" "->Pernambuco\tRecife" "->Piauí\tTeresina" "->Rio Grande do Norte\tNatal"
                  "->Sergipe\tAracaju"
                  "Centro-Oeste" "->Distrito Federal\tBrasília" "->Goiás\tGoiânia" "->Mato Grosso\tCuiabá"
                  "->Mato Grosso do Sul\tCampo Grande"
                  "Sudeste" "->Espírito Santo\tVitória" "->Minas Gerais\tBelo Horizonte"
                  "->Rio de Janeiro\tRio de Janeiro" "->São Paulo\tSão Paulo"
                  "Sul" "->Paraná\tCuritiba" "->Rio Grande do Sul\tPorto Alegre" "->Santa Catarina\tFlorianópolis"))))
  ("Tipos" (control ("Class" "MultiTypeListBox") ("Name" "Tipos") ("Hot Spot" (rect 16 352 300 112))
    ("Font" (font "Arial" 12 0)) ("2aryFont" (font "Arial" 12 2)) ("DrawBorder" true)
    ("CellInfo" (list (list 190 0 0) (list 44 1 1) (list 56 2 0))) ("CellHeight" 22)
    ("CheckSelImage" "gal_sim.bmp") ("CheckImage" "gal_nao.bmp")
    ("BackgroundColor" 16777215) ("TextColor" 0) ("SelectionColor" 5777424) ("SelectionTextColor" 16777215)
    ("List" (list (list "Bandeira do Brasil" 2 1) (list "Bandeira do Japão" 2 1) (list "Rio Amazonas, vista aérea" 4 1)
                  (list "Baía de Guanabara" 4 0) (list "Brasil, mapa político" 8 1) (list "Mapa-múndi político" 8 1)
                  (list "Capitais brasileiras, 1549-1960" 3 0) (list "Maiores rios do mundo" 9 1)
                  (list "Relevo do Brasil" 6 0) (list "Voo do 14-Bis" 0 1) (list "Carnaval no Rio" 10 1)
                  (list "Os Lusíadas" 7 1)))))
  ("Roteiros" (control ("Class" "VLComboBox") ("Name" "Roteiros") ("EditHotSpot" (rect 344 352 140 20))
    ("Font" (font "Arial" 12 0)) ("MaxItems" 5) ("DrawBorder" true) ("BackgroundColor" 16777215)
    ("2aryTextColor" 2105504) ("2arySelectionColor" 2105504)
    ("List" (list "Meu Roteiro" "**Capitais do Brasil" "Meu Roteiro 1" "**Rios do Brasil" "Meu Roteiro 2"))))
  ("Paises" (control ("Class" "PQListBox") ("Name" "Paises") ("Hot Spot" (rect 498 352 126 112))
    ("Font" (font "Arial" 12 0)) ("DrawBorder" true) ("BackgroundColor" 16777215)
    ("2aryTextColor" 2105504) ("2arySelectionColor" 2105504)
    ("List" (list (list "Brasil" 0) (table ("Name" "**Japão")) (list "Portugal" 2) "**Estados Unidos"
                  (table ("Name" "Argentina")) "Paraguai" "Angola" "Moçambique"))))
  ("Control List" (list (reference "Verbetes") (reference "Atlas") (reference "Midias") (reference "Capitais")
                        (reference "Tipos") (reference "Roteiros") (reference "Paises"))))
