# Test support: writer of JWW and JWS files for fixtures, round trips, the
# sample drawings, the fuzzer seeds and the read benchmark.
# Every .cpp here but the generators' main files (make_*.cpp) belongs to it.
file(GLOB parvex_test_support_sources CONFIGURE_DEPENDS ${CMAKE_CURRENT_LIST_DIR}/*.cpp)
list(FILTER parvex_test_support_sources EXCLUDE REGEX "/make_[^/]*\\.cpp$")
add_library(parvex_test_support STATIC ${parvex_test_support_sources})
target_include_directories(parvex_test_support PUBLIC ${CMAKE_SOURCE_DIR})
target_link_libraries(parvex_test_support PUBLIC parvex_jww parvex_common PRIVATE parvex_warnings)

# Generator of the committed drawings under samples/ and of the fuzzer seeds.
add_executable(parvex-make-samples ${CMAKE_CURRENT_LIST_DIR}/make_samples.cpp)
target_link_libraries(parvex-make-samples PRIVATE parvex_test_support parvex_warnings)

# Generator of the block and curve-group samples (samples/blocks.jww,
# samples/curves.jww).
add_executable(parvex-make-block-samples ${CMAKE_CURRENT_LIST_DIR}/make_block_samples.cpp)
target_link_libraries(parvex-make-block-samples PRIVATE parvex_test_support parvex_warnings)
