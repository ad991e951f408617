add_executable(batch_bench ${CMAKE_CURRENT_LIST_DIR}/batch_bench.cpp)
target_link_libraries(batch_bench PRIVATE kestrix::textio benchmark::benchmark kestrix::warnings)
# The tests' child-process runner, which the benchmark shares.
target_include_directories(batch_bench PRIVATE ${PROJECT_SOURCE_DIR}/tests/support)
target_compile_definitions(batch_bench PRIVATE KESTRIX_BATCH="$<TARGET_FILE:kestrix-batch>")
add_dependencies(batch_bench kestrix-batch)
