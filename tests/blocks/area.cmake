# Block definitions, inserts and curve polylines: the joiner on its own and
# whole conversions read back with ezdxf.
parvex_add_test(blocks parvex_dxf parvex_app parvex_mapping parvex_test_support parvex_dxf_audit)
