if(KESTRIX_GUI)
  add_executable(listing_bench ${CMAKE_CURRENT_LIST_DIR}/listing_bench.cpp)
  target_link_libraries(listing_bench PRIVATE Kestrix::views widget_bench_main)
endif()
