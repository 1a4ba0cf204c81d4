# Record files opened read-only and walked; the harness also checks that nothing is written.
qel_add_fuzzer(recdb_open SOURCES ${CMAKE_CURRENT_LIST_DIR}/RecdbOpenFuzzer.cpp LIBS qel_recdb
               CORPUS ${CMAKE_CURRENT_LIST_DIR}/corpus/recdb_open)
