parvex_add_test(jww parvex_jww)
