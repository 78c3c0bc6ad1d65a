# Installation on Linux (cmake --install) and the Debian package (cpack):
# the three programs into bin/, the sample drawings into share/parvex/ (a
# program beside share/parvex/ knows it is installed and keeps Parvex.dat in
# the user's ~/.config/parvex), the desktop entry of the launcher with its
# icon and the MIME types of Jw_cad's files, and the manual page of
# parvex-cli.
include(GNUInstallDirs)

set(PARVEX_INSTALLED_PROGRAMS ParvexSub parvex-cli)
if(TARGET Parvex)
  list(APPEND PARVEX_INSTALLED_PROGRAMS Parvex)
endif()
install(TARGETS ${PARVEX_INSTALLED_PROGRAMS} RUNTIME DESTINATION ${CMAKE_INSTALL_BINDIR})

set(PARVEX_LINUX_FILES ${CMAKE_SOURCE_DIR}/packaging/linux)
install(FILES ${CMAKE_SOURCE_DIR}/samples/plan.jww ${CMAKE_SOURCE_DIR}/samples/parts.jws
        DESTINATION ${CMAKE_INSTALL_DATADIR}/parvex/samples)
install(FILES ${CMAKE_SOURCE_DIR}/README.md DESTINATION ${CMAKE_INSTALL_DATADIR}/doc/parvex)
install(FILES ${PARVEX_LINUX_FILES}/parvex.desktop DESTINATION ${CMAKE_INSTALL_DATADIR}/applications)
install(FILES ${PARVEX_LINUX_FILES}/parvex.svg DESTINATION ${CMAKE_INSTALL_DATADIR}/icons/hicolor/scalable/apps)
install(FILES ${PARVEX_LINUX_FILES}/parvex-mime.xml DESTINATION ${CMAKE_INSTALL_DATADIR}/mime/packages
        RENAME parvex.xml)
# The manual page carries the version; gzip'd as Debian keeps them.
configure_file(${PARVEX_LINUX_FILES}/parvex-cli.1 ${CMAKE_BINARY_DIR}/man/parvex-cli.1 @ONLY)
find_program(PARVEX_GZIP gzip)
if(PARVEX_GZIP)
  add_custom_command(OUTPUT ${CMAKE_BINARY_DIR}/man/parvex-cli.1.gz
                     COMMAND ${PARVEX_GZIP} -9 -n -c ${CMAKE_BINARY_DIR}/man/parvex-cli.1 > ${CMAKE_BINARY_DIR}/man/parvex-cli.1.gz
                     DEPENDS ${CMAKE_BINARY_DIR}/man/parvex-cli.1)
  add_custom_target(parvex_man_page ALL DEPENDS ${CMAKE_BINARY_DIR}/man/parvex-cli.1.gz)
  install(FILES ${CMAKE_BINARY_DIR}/man/parvex-cli.1.gz DESTINATION ${CMAKE_INSTALL_MANDIR}/man1)
else()
  install(FILES ${CMAKE_BINARY_DIR}/man/parvex-cli.1 DESTINATION ${CMAKE_INSTALL_MANDIR}/man1)
endif()

# cpack -G DEB in the build folder makes parvex_VERSION_amd64.deb. Its
# library dependencies come from dpkg-shlibdeps; the desktop and MIME
# databases are brought up to date by the triggers of desktop-file-utils and
# shared-mime-info.
set(CPACK_PACKAGE_NAME parvex)
set(CPACK_PACKAGE_VENDOR "Parvex")
set(CPACK_PACKAGE_CONTACT "Parvex team <parvex@localhost>")
set(CPACK_PACKAGE_DESCRIPTION_SUMMARY "Converter of Jw_cad drawings (JWW, JWS) to DXF")
set(CPACK_PACKAGE_DESCRIPTION
    "Parvex converts Jw_cad drawings into DXF R12, 2000 or 2007: the converter ParvexSub, the launcher window Parvex (drag and drop, batch runs) and the command line parvex-cli.")
set(CPACK_GENERATOR DEB)
set(CPACK_DEBIAN_FILE_NAME DEB-DEFAULT)
set(CPACK_DEBIAN_PACKAGE_SECTION graphics)
set(CPACK_DEBIAN_PACKAGE_SHLIBDEPS ON)
set(CPACK_DEBIAN_PACKAGE_RECOMMENDS "shared-mime-info, desktop-file-utils, xdg-utils")
set(CPACK_PACKAGING_INSTALL_PREFIX /usr)
include(CPack)
