# Movie files: the decoder opening arbitrary bytes; the seed corpus holds small AVI movies of
# each codec the writer makes, one with a sound track.
qel_add_fuzzer(movie_fuzz SOURCES ${CMAKE_CURRENT_LIST_DIR}/MovieFuzz.cpp LIBS qel_platform_video
               CORPUS ${CMAKE_CURRENT_LIST_DIR}/corpus/movie)
