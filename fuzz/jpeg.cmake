# The JPEG decoder: fuzz/corpus/jpeg holds baseline, progressive and grey pictures.
qel_add_fuzzer(jpeg_fuzz SOURCES ${CMAKE_CURRENT_LIST_DIR}/JpegFuzz.cpp LIBS qel_platform_jpeg
               CORPUS ${CMAKE_CURRENT_LIST_DIR}/corpus/jpeg)
