parvex_add_test(expand parvex_expand)
