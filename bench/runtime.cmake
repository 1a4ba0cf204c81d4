# Runtime collections and value handles against standard-library peers.
qel_add_benchmark(runtime_collections_bench SOURCES ${CMAKE_CURRENT_SOURCE_DIR}/runtime/CollectionsBench.cpp
                  LIBS qel_runtime)
