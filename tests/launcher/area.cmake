# The launcher window's tests run the real window on Qt's offscreen platform
# and start stand-in helper programs (scripts in stand_ins/) as child
# processes. Only built when the launcher is.
if(TARGET parvex_launcher)
  find_package(Qt6 REQUIRED COMPONENTS Test)
  file(GLOB launcher_test_sources CONFIGURE_DEPENDS ${CMAKE_CURRENT_LIST_DIR}/*.cpp)
  add_executable(launcher_tests ${launcher_test_sources})
  target_link_libraries(launcher_tests PRIVATE parvex_launcher parvex_test_support Qt6::Test parvex_warnings GTest::gtest)
  target_include_directories(launcher_tests PRIVATE ${CMAKE_SOURCE_DIR})
  target_compile_definitions(launcher_tests PRIVATE
    PARVEX_SOURCE_DIR="${CMAKE_SOURCE_DIR}"
    PARVEX_BIN_DIR="${CMAKE_RUNTIME_OUTPUT_DIRECTORY}"
    LAUNCHER_STAND_INS="${CMAKE_CURRENT_LIST_DIR}/stand_ins")
  # The tests with the real converter use bin/ParvexSub when the whole tree
  # has been built, and skip otherwise.
  gtest_discover_tests(launcher_tests
    DISCOVERY_TIMEOUT 60
    WORKING_DIRECTORY ${CMAKE_BINARY_DIR}
    PROPERTIES ENVIRONMENT "QT_QPA_PLATFORM=offscreen" TIMEOUT 120)
endif()

# The real Parvex on a private X desktop (Xvfb, openbox, xdotool), with keys
# typed through XTest. Each case starts its own X server on a free display
# and skips when Xvfb, openbox or xdotool is missing.
if(TARGET Parvex)
  find_package(Qt6 REQUIRED COMPONENTS Gui)
  file(GLOB launcher_desktop_test_sources CONFIGURE_DEPENDS ${CMAKE_CURRENT_LIST_DIR}/desktop/*.cpp)
  add_executable(launcher_desktop_tests ${launcher_desktop_test_sources})
  target_link_libraries(launcher_desktop_tests PRIVATE Qt6::Gui parvex_common parvex_warnings GTest::gtest)
  target_include_directories(launcher_desktop_tests PRIVATE ${CMAKE_SOURCE_DIR})
  target_compile_definitions(launcher_desktop_tests PRIVATE
    PARVEX_BIN_DIR="${CMAKE_RUNTIME_OUTPUT_DIRECTORY}"
    LAUNCHER_STAND_INS="${CMAKE_CURRENT_LIST_DIR}/stand_ins")
  add_dependencies(launcher_desktop_tests Parvex)
  gtest_discover_tests(launcher_desktop_tests
    DISCOVERY_TIMEOUT 60
    WORKING_DIRECTORY ${CMAKE_BINARY_DIR}
    PROPERTIES TIMEOUT 600 LABELS desktop)
endif()
