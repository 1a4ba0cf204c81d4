# The rich text parser alone, and parse plus layout with the fixed-metric test font.
qel_add_fuzzer(rtf_parse_fuzzer SOURCES ${CMAKE_CURRENT_LIST_DIR}/RtfParseFuzzer.cpp LIBS qel_richtext
               CORPUS ${CMAKE_CURRENT_LIST_DIR}/corpus/rtf_parse)
qel_add_fuzzer(rtf_layout_fuzzer SOURCES ${CMAKE_CURRENT_LIST_DIR}/RtfLayoutFuzzer.cpp LIBS qel_richtext
               CORPUS ${CMAKE_CURRENT_LIST_DIR}/corpus/rtf_layout)
