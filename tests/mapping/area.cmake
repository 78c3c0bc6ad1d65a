# End-to-end conversion of JWW and JWS drawings to DXF, and the mapping's
# own tables.
parvex_add_test(mapping parvex_app parvex_mapping parvex_test_support parvex_test_support_jwc parvex_dxf_audit parvex_common)
if(TARGET mapping_tests AND TARGET parvex-cli)
  add_dependencies(mapping_tests parvex-cli)
endif()
