# The keyed index object against SQLite (WITHOUT ROWID, 1 KB pages) and LMDB on the same key sets:
# build, point get hit and miss, prefix and full scans, open + get + close. Prints the ratios.
find_package(SQLite3 REQUIRED)
find_library(QEL_LMDB_LIBRARY lmdb REQUIRED)
qel_add_benchmark(index_bench SOURCES ${CMAKE_CURRENT_LIST_DIR}/IndexBench.cpp
                  LIBS qel_index SQLite::SQLite3 ${QEL_LMDB_LIBRARY})
