parvex_add_test(jww parvex_jww parvex_test_support z)
