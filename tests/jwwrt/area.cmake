find_package(ZLIB REQUIRED)
parvex_add_test(jwwrt parvex_test_support parvex_jww parvex_common ZLIB::ZLIB)
