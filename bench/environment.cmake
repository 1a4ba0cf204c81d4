# Start-up of the environment: run up to the first dispatched event, with the application's
# resource-class registrations locating their compiled files.
qel_add_benchmark(environment_startup_bench SOURCES ${CMAKE_CURRENT_SOURCE_DIR}/EnvironmentBench.cpp
                  LIBS qel_runtime)
