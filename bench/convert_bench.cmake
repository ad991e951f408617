add_executable(convert_bench ${CMAKE_CURRENT_LIST_DIR}/convert_bench.cpp)
target_link_libraries(convert_bench PRIVATE kestrix::convert kestrix::textio benchmark::benchmark kestrix::warnings)
