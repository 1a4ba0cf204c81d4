# Rich text parse and layout against Pango laying out the same plain text, in one run.
find_package(PkgConfig REQUIRED)
pkg_check_modules(PANGOFT2 REQUIRED IMPORTED_TARGET pangoft2)
qel_add_benchmark(richtext_bench SOURCES ${CMAKE_CURRENT_LIST_DIR}/RichTextBench.cpp LIBS qel_richtext PkgConfig::PANGOFT2)
# A text view opening a 60 KB entry and drawing its first screen against Pango laying out and
# rendering the same text into a cairo image surface.
pkg_check_modules(PANGOCAIRO REQUIRED IMPORTED_TARGET pangocairo)
qel_add_benchmark(textview_bench SOURCES ${CMAKE_CURRENT_LIST_DIR}/TextViewBench.cpp LIBS qel_richtext PkgConfig::PANGOCAIRO)
