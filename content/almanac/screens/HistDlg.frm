; The history of visited screens: the newest first; a click on one goes back to it. "Fechar",
; Escape or a press outside the dialog close it.
(table
  ("Class" "HistoryDlg")
  ("Origin X" 140)
  ("Origin Y" 90)
  ("Width" 360)
  ("Height" 300)
  ("Background Image" "historico.bmp")
  ("No Text Error" "Uma tela do histórico não tem texto.")
  ("History List" (control ("Class" "ListBox") ("Name" "History List") ("Hot Spot" (rect 16 64 328 172))
    ("Font" (font "Arial" 13 0)) ("LineSpacing" 4) ("TextTopMargin" 2)
    ("BackgroundColor" 16777215) ("TextColor" 3153936) ("SelectionColor" 5783568) ("SelectionTextColor" 16777215)
    ("DrawBorder" true) ("BorderColor" 5783568) ("SingleClickNotify" true)))
  ("Fechar" (control ("Class" "Button") ("Name" "Fechar") ("Hot Spot" (rect 120 252 120 32)) ("Action" "close")
    ("UpImage" "btfechar_up.bmp") ("DownImage" "btfechar_down.bmp")
    ("DisabledImage" "btfechar_off.bmp") ("RolloverImage" "btfechar_over.bmp")))
  ("Control List" (list (reference "History List") (reference "Fechar"))))
