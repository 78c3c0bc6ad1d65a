# Block definitions, inserts and curve polylines: the joiner on its own and
# whole conversions read back with ezdxf.
parvex_add_test(blocks parvex_dxf)
