; The opening sequence: the two movies of intro.tbl one after the other in the middle of the
; start picture, over the looping soundtrack; a click anywhere or any key goes to the main
; menu. Going back from the main menu does not play it again ("Include In History" false).
(table
  ("Class" "IntroForm")
  ("Include In History" false)
  ("PlayList" (list (list "abertura1.avi" 160 120 320 240 0 "")
                    (list "abertura2.avi" 160 120 320 240 0 "")))
  ("Trilha" "trilha.wav")
  ("ScreenHotspot" "Pular")
  ("Pular" (control ("Class" "HotSpot") ("Name" "Pular") ("Hot Spot" (rect 0 0 640 480))))
  ("Control List" (list (reference "Pular"))))
