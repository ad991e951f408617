if(KESTRIX_GUI)
  add_executable(memory_bench ${CMAKE_CURRENT_LIST_DIR}/memory_bench.cpp)
  target_link_libraries(memory_bench PRIVATE Qt6::Core benchmark::benchmark kestrix::warnings)
  # The tests' child-process runner and raw survey text, which the benchmark shares.
  target_include_directories(memory_bench PRIVATE ${PROJECT_SOURCE_DIR}/tests/support)
  target_compile_definitions(memory_bench PRIVATE KESTRIX_PROGRAM="$<TARGET_FILE:kestrix>")
  add_dependencies(memory_bench kestrix)
endif()
