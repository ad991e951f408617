add_executable(batch_bench ${CMAKE_CURRENT_LIST_DIR}/batch_bench.cpp)
target_link_libraries(batch_bench PRIVATE kestrix::textio benchmark::benchmark kestrix::warnings)
target_compile_definitions(batch_bench PRIVATE KESTRIX_BATCH="$<TARGET_FILE:kestrix-batch>")
add_dependencies(batch_bench kestrix-batch)
