if(KESTRIX_GUI)
  add_executable(edit_bench ${CMAKE_CURRENT_LIST_DIR}/edit_bench.cpp)
  target_link_libraries(edit_bench PRIVATE kestrix::app widget_bench_main kestrix::warnings)
  # The tests' raw survey text, which the benchmark shares.
  target_include_directories(edit_bench PRIVATE ${PROJECT_SOURCE_DIR}/tests/support)
endif()
