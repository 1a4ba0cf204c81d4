# Queries typed into the word search, over a small keyword index: any bytes, any length, stray
# parentheses and asterisks, the index's own count key.
qel_add_fuzzer(search_fuzz SOURCES ${CMAKE_CURRENT_LIST_DIR}/SearchFuzzer.cpp LIBS qel_reference
               CORPUS ${CMAKE_CURRENT_LIST_DIR}/corpus/search)
