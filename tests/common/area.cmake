parvex_add_test(common parvex_common)
