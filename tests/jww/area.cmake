# The drawing readers (JWW, JWS): files from the test writer read back,
# damaged and hostile files, the block tree, extents and carried images,
# the fuzzer's seeds and recorded inputs, and the shared corpus.
find_package(ZLIB REQUIRED)
parvex_add_test(jww parvex_jww parvex_test_support parvex_common ZLIB::ZLIB)
