# The DXF audit helper: a library that test programs of any area link to
# check a written DXF file with ezdxf and a raw code/value walk, and to read
# it back as code/value pairs. It has no test program of its own; its
# checks are exercised by the DXF tests.
add_library(parvex_dxf_audit STATIC ${CMAKE_CURRENT_LIST_DIR}/dxf_audit.cpp
                                    ${CMAKE_CURRENT_LIST_DIR}/dxf_pairs.cpp
                                    ${CMAKE_CURRENT_LIST_DIR}/python_run.cpp)
target_include_directories(parvex_dxf_audit PUBLIC ${CMAKE_SOURCE_DIR} ${CMAKE_CURRENT_LIST_DIR})
target_link_libraries(parvex_dxf_audit PUBLIC GTest::gtest PRIVATE parvex_common parvex_warnings)
target_compile_definitions(parvex_dxf_audit PRIVATE
  PARVEX_DXF_AUDIT_SCRIPT="${CMAKE_CURRENT_LIST_DIR}/dxf_audit.py"
  PARVEX_BIN_DIR="${CMAKE_RUNTIME_OUTPUT_DIRECTORY}")
