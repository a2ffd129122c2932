# Installation on Linux desktops. Included after every folder, so the targets tested
# below exist.
if(NOT LINUX)
  return()
endif()

include(GNUInstallDirs)

# The desktop entry, the metainfo and the icon share the application's id.
set(ZEMTRA_APP_ID org.zemtra.Zemtra)
set(ZEMTRA_DIST ${PROJECT_SOURCE_DIR}/dist)
set(ZEMTRA_MAN_BUILD_DIR ${PROJECT_BINARY_DIR}/man)

find_program(GZIP_PROGRAM gzip REQUIRED)

# zemtra_install_man_page(NAME): dist/man/NAME.1 with the version filled in, compressed
# reproducibly (no name or time stamp inside) as Debian expects, into section 1.
function(zemtra_install_man_page name)
  configure_file(${ZEMTRA_DIST}/man/${name}.1 ${ZEMTRA_MAN_BUILD_DIR}/${name}.1 @ONLY)
  add_custom_command(
    OUTPUT ${ZEMTRA_MAN_BUILD_DIR}/${name}.1.gz
    COMMAND ${GZIP_PROGRAM} -9 -n -f -k ${name}.1
    DEPENDS ${ZEMTRA_MAN_BUILD_DIR}/${name}.1
    WORKING_DIRECTORY ${ZEMTRA_MAN_BUILD_DIR}
    VERBATIM)
  add_custom_target(man-${name} ALL DEPENDS ${ZEMTRA_MAN_BUILD_DIR}/${name}.1.gz)
  install(FILES ${ZEMTRA_MAN_BUILD_DIR}/${name}.1.gz DESTINATION ${CMAKE_INSTALL_MANDIR}/man1)
endfunction()

install(TARGETS zemtra-cli RUNTIME DESTINATION ${CMAKE_INSTALL_BINDIR})
zemtra_install_man_page(zemtra-cli)

# udev reads rules from <prefix>/lib/udev/rules.d, never from a multiarch library folder.
install(FILES ${ZEMTRA_DIST}/udev/60-zemtra.rules DESTINATION lib/udev/rules.d)

# The menu entry, its icon and the software-centre description only make sense with
# the desktop program they launch, which is built only when Qt is found.
if(TARGET zemtra)
  install(TARGETS zemtra RUNTIME DESTINATION ${CMAKE_INSTALL_BINDIR})
  zemtra_install_man_page(zemtra)
  install(FILES ${ZEMTRA_DIST}/desktop/${ZEMTRA_APP_ID}.desktop DESTINATION ${CMAKE_INSTALL_DATADIR}/applications)
  install(FILES ${ZEMTRA_DIST}/desktop/${ZEMTRA_APP_ID}.metainfo.xml DESTINATION ${CMAKE_INSTALL_DATADIR}/metainfo)
  install(DIRECTORY ${ZEMTRA_DIST}/icons/hicolor DESTINATION ${CMAKE_INSTALL_DATADIR}/icons)
endif()

