# The installed files (cmake --install) on Linux; the launcher must be built,
# as it is what the desktop entry starts.
if(NOT WIN32 AND TARGET Parvex)
  add_test(NAME Packaging.InstalledFilesAreComplete
           COMMAND bash ${CMAKE_CURRENT_LIST_DIR}/install_check.sh ${CMAKE_BINARY_DIR})
endif()
