; The media screen: a video view that plays the disk's Cinepak movie with its sound inside a frame
; ("Assistir" starts it; at its end the screen under the frame comes back), and a photo view whose
; caption opens in a panel when the photo is clicked. "Voltar" returns through the history.
(form
  ("Class" "ShowcaseForm")
  ("Name" "Midia")
  ("Resource Table"
    (table
      ("Background Image" "fundo_midia.bmp")
      ; The video archive places movies by their size; the properties place the frame before a
      ; movie is opened.
      ("Filme"
        (control
          ("Class" "VideoView")
          ("Name" "Filme")
          ("Hot Spot" (rect 48 118 160 120))
          ("VideoArchive" "videos")
          ("VideoName" "abertura")
          ("VideoX" 48)
          ("VideoY" 118)
          ("Frame" (reference "moldura_video.bmp"))
          ("FrameX" 40)
          ("FrameY" 110)))
      ("Assistir"
        (control
          ("Class" "Button")
          ("Name" "Assistir")
          ("Hot Spot" (rect 200 410 140 40))
          ("UpImage" "assistir_up.bmp")
          ("DownImage" "assistir_down.bmp")
          ("Video" "Filme")))
      ("Foto"
        (control
          ("Class" "PhotoView")
          ("Name" "Foto")
          ("Hot Spot" (rect 300 110 200 150))
          ("X" 300)
          ("Y" 110)
          ("Photo" (reference "foto_ipe.bmp"))
          ("Caption" "Ipê-amarelo em flor no fim do inverno, no cerrado de Goiás.")
          ("CaptionView" (reference "Legenda"))))
      ; The caption's text view: the photo view places, fills and draws it.
      ("Legenda"
        (control
          ("Class" "TextView")
          ("Name" "Legenda")
          ("Hot Spot" (rect 0 0 200 100))
          ("Font" (font "Arial" 12 0))
          ("BackgroundColor" -1)))
      ("GoBack"
        (control
          ("Class" "Button")
          ("Name" "GoBack")
          ("Hot Spot" (rect 40 410 120 40))
          ("UpImage" "voltar_up.bmp")
          ("DownImage" "voltar_down.bmp")
          ("DisabledImage" "voltar_off.bmp")
          ("RolloverImage" "voltar_over.bmp")))
      ("Control List" (list (reference "Filme") (reference "Assistir") (reference "Foto")
                            (reference "GoBack"))))))
