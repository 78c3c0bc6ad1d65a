# Test support: writer of JWW and JWS files for fixtures, round trips, the
# sample drawings, the fuzzer seeds and the read benchmark.
add_library(parvex_test_support STATIC
  ${CMAKE_CURRENT_LIST_DIR}/archive_writer.cpp
  ${CMAKE_CURRENT_LIST_DIR}/jww_writer.cpp
  ${CMAKE_CURRENT_LIST_DIR}/jww_fixtures.cpp
  ${CMAKE_CURRENT_LIST_DIR}/block_fixtures.cpp
  ${CMAKE_CURRENT_LIST_DIR}/image_files.cpp
  ${CMAKE_CURRENT_LIST_DIR}/sample_drawings.cpp
  ${CMAKE_CURRENT_LIST_DIR}/stress_drawings.cpp)
target_include_directories(parvex_test_support PUBLIC ${CMAKE_SOURCE_DIR})
find_package(ZLIB REQUIRED)
target_link_libraries(parvex_test_support PUBLIC parvex_jww parvex_common PRIVATE parvex_warnings ZLIB::ZLIB)

# Generator of the committed drawings under samples/ and of the fuzzer seeds.
add_executable(parvex-make-samples ${CMAKE_CURRENT_LIST_DIR}/make_samples.cpp)
target_link_libraries(parvex-make-samples PRIVATE parvex_test_support parvex_warnings)

# Generator of the block and curve-group samples (samples/blocks.jww,
# samples/curves.jww).
add_executable(parvex-make-block-samples ${CMAKE_CURRENT_LIST_DIR}/make_block_samples.cpp)
target_link_libraries(parvex-make-block-samples PRIVATE parvex_test_support parvex_warnings)

# Writer of JWC drawings and JWK shapes, their fixtures, and the generator
# of the JWC/JWK samples and fuzzer seeds.
add_library(parvex_test_support_jwc STATIC
  ${CMAKE_CURRENT_LIST_DIR}/jwc_writer.cpp
  ${CMAKE_CURRENT_LIST_DIR}/jwc_fixtures.cpp)
target_include_directories(parvex_test_support_jwc PUBLIC ${CMAKE_SOURCE_DIR})
target_link_libraries(parvex_test_support_jwc PUBLIC parvex_jwc parvex_common PRIVATE parvex_warnings)
add_executable(parvex-make-jwc-samples ${CMAKE_CURRENT_LIST_DIR}/make_jwc_samples.cpp)
target_link_libraries(parvex-make-jwc-samples PRIVATE parvex_test_support_jwc parvex_test_support parvex_warnings)
