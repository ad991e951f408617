add_executable(quality_bench ${CMAKE_CURRENT_LIST_DIR}/quality_bench.cpp)
target_link_libraries(quality_bench PRIVATE kestrix::survey benchmark::benchmark_main kestrix::warnings)
