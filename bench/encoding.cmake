# The binary encoding against msgpack-cxx and the text notation reader against nlohmann-json, on
# the same value trees, in one run.
qel_add_benchmark(encoding_bench SOURCES ${CMAKE_CURRENT_LIST_DIR}/EncodingBench.cpp LIBS qel_runtime)
