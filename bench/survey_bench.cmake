add_executable(survey_bench ${CMAKE_CURRENT_LIST_DIR}/survey_bench.cpp)
target_link_libraries(survey_bench PRIVATE kestrix::survey benchmark::benchmark_main kestrix::warnings)
