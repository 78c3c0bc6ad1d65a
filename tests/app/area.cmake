parvex_add_test(app parvex_app parvex_test_support)
if(TARGET app_tests)
  # The black-box tests run the built converter program.
  add_dependencies(app_tests ParvexSub)
endif()

# A library that, preloaded, takes code page 932 away from a program: the
# programs must then refuse to start, saying why. (Linux only: Windows has
# no preloading, and its code page 932 cannot be taken away.)
if(NOT WIN32)
  add_library(parvex_no_cp932 MODULE ${CMAKE_CURRENT_LIST_DIR}/preload/no_cp932.cpp)
  target_link_libraries(parvex_no_cp932 PRIVATE ${CMAKE_DL_LIBS})
  # Plain code even in sanitizer builds: it is loaded before anything else.
  target_compile_options(parvex_no_cp932 PRIVATE -fno-sanitize=all)
  target_link_options(parvex_no_cp932 PRIVATE -fno-sanitize=all)
  if(TARGET app_tests)
    add_dependencies(app_tests parvex_no_cp932 parvex-cli)
    target_compile_definitions(app_tests PRIVATE PARVEX_NO_CP932="$<TARGET_FILE:parvex_no_cp932>")
    if(TARGET Parvex)
      add_dependencies(app_tests Parvex)
    endif()
  endif()
endif()
