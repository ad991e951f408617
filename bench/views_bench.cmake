if(KESTRIX_GUI)
  add_executable(views_bench ${CMAKE_CURRENT_LIST_DIR}/views_bench.cpp)
  target_link_libraries(views_bench PRIVATE kestrix::views widget_bench_main kestrix::warnings)
endif()
