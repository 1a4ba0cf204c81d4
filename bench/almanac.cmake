# The almanac on its sample disk: start to first frame, and main-menu click to section drawn,
# measured in-process on the headless back end against the goals (300 ms, one 60 Hz frame).
qel_add_benchmark(almanac_bench SOURCES ${CMAKE_CURRENT_LIST_DIR}/AlmanacBench.cpp LIBS qel_velarim)
target_compile_definitions(almanac_bench PRIVATE QEL_ALMANAC_BENCH_DISK="${QEL_ALMANAC_DIR}")
add_dependencies(almanac_bench almanac_disk)
