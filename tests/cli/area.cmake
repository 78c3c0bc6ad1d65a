# Runs the built programs (parvex-cli, parvex-make-samples) on written
# fixtures, the samples and the corpus.
parvex_add_test(cli parvex_test_support parvex_test_support_jwc parvex_jww parvex_common)
foreach(program parvex-cli parvex-make-samples)
  if(TARGET cli_tests AND TARGET ${program})
    add_dependencies(cli_tests ${program})
  endif()
endforeach()
