# 8-bit bitmap to 32-bit surface conversion against SDL's blitter (INDEX8 to ARGB8888).
find_package(SDL2 REQUIRED)
qel_add_benchmark(gfx_bench SOURCES ${CMAKE_CURRENT_LIST_DIR}/GfxBench.cpp LIBS qel_platform_gfx SDL2::SDL2)
