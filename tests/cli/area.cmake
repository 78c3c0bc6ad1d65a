# Runs the built parvex-cli program on written fixtures and on the corpus.
parvex_add_test(cli parvex_test_support parvex_jww parvex_common)
if(TARGET cli_tests AND TARGET parvex-cli)
  add_dependencies(cli_tests parvex-cli)
endif()
