# The BMP decoder: fuzz/corpus/bmp holds valid files of every depth and both run-length kinds.
qel_add_fuzzer(bmp_fuzz SOURCES ${CMAKE_CURRENT_LIST_DIR}/BmpFuzz.cpp LIBS qel_platform_gfx
               CORPUS ${CMAKE_CURRENT_LIST_DIR}/corpus/bmp)
