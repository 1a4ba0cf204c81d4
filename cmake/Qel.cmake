# Helpers shared by every folder's CMakeLists.txt.

# qel_add_library(NAME SOURCES...) — one static library per subsystem folder. Sources include
# each other as "framework/runtime/Value.h" and so on, relative to the repository root.
function(qel_add_library name)
    add_library(${name} STATIC ${ARGN})
    target_include_directories(${name} PUBLIC ${PROJECT_SOURCE_DIR})
endfunction()

# qel_add_tests(NAME SOURCES... LIBS libs...) — a GoogleTest program whose tests CTest runs
# one by one (so `ctest -j` spreads them over the cores). Tests find their fixtures through
# the QEL_TEST_DATA macro (tests/data).
function(qel_add_tests name)
    cmake_parse_arguments(T "" "" "SOURCES;LIBS" ${ARGN})
    add_executable(${name} ${T_SOURCES} ${T_UNPARSED_ARGUMENTS})
    target_link_libraries(${name} PRIVATE ${T_LIBS} GTest::gtest GTest::gmock GTest::gtest_main)
    target_compile_definitions(${name} PRIVATE QEL_TEST_DATA="${PROJECT_SOURCE_DIR}/tests/data"
                                               QEL_BUILD_DIR="${CMAKE_BINARY_DIR}")
    gtest_discover_tests(${name} DISCOVERY_MODE PRE_TEST DISCOVERY_TIMEOUT 60)
endfunction()

# qel_add_benchmark(NAME SOURCES... LIBS libs...) — a Google Benchmark program run by `make bench`.
function(qel_add_benchmark name)
    cmake_parse_arguments(B "" "" "SOURCES;LIBS" ${ARGN})
    find_package(benchmark REQUIRED)
    add_executable(${name} ${B_SOURCES} ${B_UNPARSED_ARGUMENTS})
    target_link_libraries(${name} PRIVATE ${B_LIBS} benchmark::benchmark)
    set_target_properties(${name} PROPERTIES RUNTIME_OUTPUT_DIRECTORY ${CMAKE_BINARY_DIR}/bench)
endfunction()

# qel_add_fuzzer(NAME SOURCES... LIBS libs... CORPUS dir) — a libFuzzer harness defining
# LLVMFuzzerTestOneInput. With QEL_FUZZ (clang) it builds the fuzzer itself; in every other
# build it builds a replay program that CTest runs over each file of the seed corpus, so the
# corpus (and every crasher kept in it) is a regression test under the sanitizers.
function(qel_add_fuzzer name)
    cmake_parse_arguments(F "" "CORPUS" "SOURCES;LIBS" ${ARGN})
    if(QEL_FUZZ)
        add_executable(${name} ${F_SOURCES} ${F_UNPARSED_ARGUMENTS})
        target_compile_options(${name} PRIVATE -fsanitize=fuzzer)
        target_link_libraries(${name} PRIVATE ${F_LIBS} -fsanitize=fuzzer)
        set_target_properties(${name} PROPERTIES RUNTIME_OUTPUT_DIRECTORY ${CMAKE_BINARY_DIR}/fuzz)
    elseif(QEL_BUILD_TESTS)
        add_executable(${name}_replay ${F_SOURCES} ${F_UNPARSED_ARGUMENTS} ${PROJECT_SOURCE_DIR}/fuzz/ReplayMain.cpp)
        target_link_libraries(${name}_replay PRIVATE ${F_LIBS})
        set_target_properties(${name}_replay PROPERTIES RUNTIME_OUTPUT_DIRECTORY ${CMAKE_BINARY_DIR}/fuzz)
        add_test(NAME fuzz_replay.${name} COMMAND ${name}_replay ${F_CORPUS})
    endif()
endfunction()

# qel_add_test_folder(PREFIX LIBS libs...) — every *Test.cpp of the calling folder becomes its own
# test program PREFIX_<file> (so one unit's half-finished test never blocks another's build).
function(qel_add_test_folder prefix)
    cmake_parse_arguments(T "" "" "LIBS" ${ARGN})
    file(GLOB test_sources CONFIGURE_DEPENDS ${CMAKE_CURRENT_SOURCE_DIR}/*Test.cpp)
    foreach(source IN LISTS test_sources)
        get_filename_component(stem ${source} NAME_WE)
        qel_add_tests(${prefix}_${stem} SOURCES ${source} LIBS ${T_LIBS})
    endforeach()
endfunction()
include(${CMAKE_CURRENT_LIST_DIR}/QelIndex.cmake)
