# The timeline's year search over 3,000 events (an archive as the disk builder writes it) against
# SQLite answering the same question from an indexed table; prints both times, the ratio and the
# time against its goal.
find_package(SQLite3 REQUIRED)
qel_add_benchmark(timeline_bench SOURCES ${CMAKE_CURRENT_LIST_DIR}/TimelineBench.cpp
                  LIBS qel_reference SQLite::SQLite3)
