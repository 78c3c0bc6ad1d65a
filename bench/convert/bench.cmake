# Conversion of a drawing of a million entities, per DXF version, against
# the floor of copying the input and writing a file of the output's size.
# Needs the test writer to make the drawing.
# With --jwc the drawing is a DOS-edition JWC drawing.
if(TARGET parvex_test_support AND TARGET parvex_test_support_jwc)
  add_executable(bench_convert ${CMAKE_CURRENT_LIST_DIR}/bench_convert.cpp)
  target_link_libraries(bench_convert PRIVATE parvex_app parvex_dxf parvex_test_support
                        parvex_test_support_jwc parvex_warnings)
endif()
