# Sound files: the header reader over arbitrary bytes; fuzz/corpus/sound holds small WAV files of
# each format the reader counts (PCM, IMA ADPCM mono and stereo, a float format, odd chunks).
qel_add_fuzzer(sound_header_fuzzer SOURCES ${CMAKE_CURRENT_LIST_DIR}/SoundHeaderFuzzer.cpp LIBS qel_display
               CORPUS ${CMAKE_CURRENT_LIST_DIR}/corpus/sound)
