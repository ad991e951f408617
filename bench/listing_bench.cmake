if(KESTRIX_GUI)
  add_executable(listing_bench ${CMAKE_CURRENT_LIST_DIR}/listing_bench.cpp)
  target_link_libraries(listing_bench PRIVATE kestrix::views widget_bench_main kestrix::warnings)
endif()
