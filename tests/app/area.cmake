parvex_add_test(app parvex_app parvex_test_support)
if(TARGET app_tests)
  # The black-box tests run the built converter program.
  add_dependencies(app_tests ParvexSub)
endif()
