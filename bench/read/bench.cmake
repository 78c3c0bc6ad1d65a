# Reading a large JWW drawing made by the test writer.
if(NOT TARGET parvex_test_support)
  include(${CMAKE_SOURCE_DIR}/tests/support/area.cmake)
endif()
add_executable(bench_read ${CMAKE_CURRENT_LIST_DIR}/read_benchmark.cpp)
target_link_libraries(bench_read PRIVATE parvex_test_support parvex_jww benchmark::benchmark parvex_warnings)

# Reading a large JWC drawing made by the test writer.
add_executable(bench_read_jwc ${CMAKE_CURRENT_LIST_DIR}/jwc_read_benchmark.cpp)
target_link_libraries(bench_read_jwc PRIVATE parvex_test_support_jwc parvex_test_support parvex_jwc
                      benchmark::benchmark parvex_warnings)
