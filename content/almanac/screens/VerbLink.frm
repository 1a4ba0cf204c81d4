; The link list: the entries related to a picture or a video, as links in a small box over the
; media page. A link opens its entry; a press outside the box closes it.
(table
  ("Class" "VerbLink")
  ("Origin X" 360)
  ("Origin Y" 120)
  ("Background Image" "verblink.bmp")
  ("Lista" (control ("Class" "TextView") ("Name" "Lista") ("Hot Spot" (rect 8 32 244 160))
    ("Font" (font "Arial" 13 0)) ("Text" "")))
  ("Control List" (list (reference "Lista"))))
