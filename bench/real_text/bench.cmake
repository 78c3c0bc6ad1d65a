# The text of real values: the fast formatter against the one built on
# std::to_chars, with a check that both agree on every value first.
add_executable(bench_real_text ${CMAKE_CURRENT_LIST_DIR}/real_text_bench.cpp)
target_link_libraries(bench_real_text PRIVATE parvex_dxf parvex_warnings benchmark::benchmark)
