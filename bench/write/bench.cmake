# DXF writing speed: a model of a million mixed entities written as DXF,
# next to a plain write of the same number of bytes.
add_executable(bench_write ${CMAKE_CURRENT_LIST_DIR}/write_bench.cpp)
target_link_libraries(bench_write PRIVATE parvex_dxf parvex_warnings benchmark::benchmark)
