# The word search against SQLite FTS5 on one synthetic almanac-sized corpus: the same items and
# words compiled into our keyword files and into an FTS5 table. Checks that both sides find the
# same items, prints median and p95 per query and the ratio.
find_package(SQLite3 REQUIRED)
qel_add_benchmark(search_bench SOURCES ${CMAKE_CURRENT_LIST_DIR}/SearchBench.cpp
                  LIBS qel_reference SQLite::SQLite3)

# The search words struck in a 100 KB entry (1,000 matches) against a std::regex replacement.
qel_add_benchmark(search_marks_bench SOURCES ${CMAKE_CURRENT_LIST_DIR}/SearchMarksBench.cpp LIBS qel_reference)
