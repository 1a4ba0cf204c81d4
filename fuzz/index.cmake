# Index files opened read-only and asked for counts, keys, values and prefix scans (the stored
# values go through the binary decoder); the harness also checks that nothing is written.
qel_add_fuzzer(index_fuzz SOURCES ${CMAKE_CURRENT_LIST_DIR}/IndexFuzzer.cpp LIBS qel_index
               CORPUS ${CMAKE_CURRENT_LIST_DIR}/corpus/index)
