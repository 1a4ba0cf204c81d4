; a form
(form ("Class" "MainForm") ("Name" "Main") ; comment
 ("Rect" (rect 0 0 640 480)) ("Color" (rgb 255 128 0))
 ("Font" (font "Arial" 12 "bold")) ("Items" (list 1 -2 3.5 1.e3 true nil red "a\tb\x4a\"q\\"))
 ("Ints" (intlist 1 2.7 "3")) ("Pt" (point 5 6)) ("Poly" (region (0 0) (10 0) (10 10)))
 ("Ctl" (control ("Class" "Button"))) ("When" (date ("Year" 1998) ("Month" 3) ("Day" 4))) ("Ref" (reference "x")))