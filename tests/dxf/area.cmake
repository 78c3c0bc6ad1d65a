parvex_add_test(dxf parvex_dxf)
