# The runtime's readers of stored bytes: the binary decoder, the text notation reader and archives.
qel_add_fuzzer(decode_fuzzer SOURCES ${CMAKE_CURRENT_LIST_DIR}/DecodeFuzzer.cpp LIBS qel_runtime
               CORPUS ${CMAKE_CURRENT_LIST_DIR}/corpus/decode)
qel_add_fuzzer(textnotation_fuzzer SOURCES ${CMAKE_CURRENT_LIST_DIR}/TextNotationFuzzer.cpp LIBS qel_runtime
               CORPUS ${CMAKE_CURRENT_LIST_DIR}/corpus/textnotation)
qel_add_fuzzer(archive_fuzzer SOURCES ${CMAKE_CURRENT_LIST_DIR}/ArchiveFuzzer.cpp LIBS qel_runtime
               CORPUS ${CMAKE_CURRENT_LIST_DIR}/corpus/archive)
