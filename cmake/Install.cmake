# Installation on Linux desktops and the Debian package (cpack --preset release, run
# by scripts/package). Included after every folder, so the targets tested below exist.
if(NOT LINUX)
  return()
endif()

include(GNUInstallDirs)

set(ZEMTRA_DIST ${PROJECT_SOURCE_DIR}/dist)
set(ZEMTRA_MAN_BUILD_DIR ${PROJECT_BINARY_DIR}/man)

find_program(GZIP_PROGRAM gzip REQUIRED)

# zemtra_install_gzipped(FILE DESTINATION): FILE (in the build tree) compressed
# reproducibly (no name or time stamp inside) as Debian expects, installed as FILE.gz.
function(zemtra_install_gzipped file destination)
  get_filename_component(dir ${file} DIRECTORY)
  get_filename_component(name ${file} NAME)
  add_custom_command(
    OUTPUT ${file}.gz
    COMMAND ${GZIP_PROGRAM} -9 -n -f -k ${name}
    DEPENDS ${file}
    WORKING_DIRECTORY ${dir}
    VERBATIM)
  string(MAKE_C_IDENTIFIER "gzip-${name}" target)
  add_custom_target(${target} ALL DEPENDS ${file}.gz)
  install(FILES ${file}.gz DESTINATION ${destination})
endfunction()

# zemtra_install_man_page(NAME): dist/man/NAME.1 with the version filled in, into section 1.
function(zemtra_install_man_page name)
  configure_file(${ZEMTRA_DIST}/man/${name}.1 ${ZEMTRA_MAN_BUILD_DIR}/${name}.1 @ONLY)
  zemtra_install_gzipped(${ZEMTRA_MAN_BUILD_DIR}/${name}.1 ${CMAKE_INSTALL_MANDIR}/man1)
endfunction()

# Completion scripts load on demand from bash-completion's folder, one per command.
set(ZEMTRA_COMPLETION_DIR ${CMAKE_INSTALL_DATADIR}/bash-completion/completions)
# The documentation folder is named after the package, not after the project.
set(ZEMTRA_DOC_DIR ${CMAKE_INSTALL_DATADIR}/doc/zemtra)

install(TARGETS zemtra-cli RUNTIME DESTINATION ${CMAKE_INSTALL_BINDIR})
zemtra_install_man_page(zemtra-cli)
install(FILES ${ZEMTRA_DIST}/completion/zemtra-cli DESTINATION ${ZEMTRA_COMPLETION_DIR})

# Debian's copyright and changelog, the README and the licence.
install(FILES ${ZEMTRA_DIST}/debian/copyright ${PROJECT_SOURCE_DIR}/README.md ${PROJECT_SOURCE_DIR}/LICENSE
        DESTINATION ${ZEMTRA_DOC_DIR})
configure_file(${ZEMTRA_DIST}/debian/changelog ${PROJECT_BINARY_DIR}/debian/changelog.Debian COPYONLY)
zemtra_install_gzipped(${PROJECT_BINARY_DIR}/debian/changelog.Debian ${ZEMTRA_DOC_DIR})
# The one lintian tag that does not apply to a package outside Debian's archive.
install(FILES ${ZEMTRA_DIST}/debian/lintian-overrides DESTINATION ${CMAKE_INSTALL_DATADIR}/lintian/overrides
        RENAME zemtra)

# udev reads rules from <prefix>/lib/udev/rules.d, never from a multiarch library folder.
install(FILES ${ZEMTRA_DIST}/udev/60-zemtra.rules DESTINATION lib/udev/rules.d)

# The menu entry, its icon and the software-centre description only make sense with
# the desktop program they launch, which is built only when Qt is found.
if(TARGET zemtra)
  install(TARGETS zemtra RUNTIME DESTINATION ${CMAKE_INSTALL_BINDIR})
  zemtra_install_man_page(zemtra)
  install(FILES ${ZEMTRA_DIST}/completion/zemtra DESTINATION ${ZEMTRA_COMPLETION_DIR})
  install(FILES ${ZEMTRA_DIST}/desktop/${ZEMTRA_APP_ID}.desktop DESTINATION ${CMAKE_INSTALL_DATADIR}/applications)
  # The metainfo carries the project's version and release date.
  configure_file(${ZEMTRA_DIST}/desktop/${ZEMTRA_APP_ID}.metainfo.xml.in
                 ${PROJECT_BINARY_DIR}/desktop/${ZEMTRA_APP_ID}.metainfo.xml @ONLY)
  install(FILES ${PROJECT_BINARY_DIR}/desktop/${ZEMTRA_APP_ID}.metainfo.xml DESTINATION ${CMAKE_INSTALL_DATADIR}/metainfo)
  install(DIRECTORY ${ZEMTRA_DIST}/icons/hicolor DESTINATION ${CMAKE_INSTALL_DATADIR}/icons)
endif()

# The Debian package. Its library dependencies come from dpkg-shlibdeps.
set(ZEMTRA_PACKAGE_MAINTAINER "Zemtra developers <zemtra@zemtra.org>" CACHE STRING "Maintainer field of the Debian package")
set(CPACK_GENERATOR DEB)
set(CPACK_PACKAGE_NAME zemtra)
set(CPACK_PACKAGING_INSTALL_PREFIX /usr)
set(CPACK_PACKAGE_DESCRIPTION_SUMMARY "${PROJECT_DESCRIPTION}")
string(CONCAT CPACK_PACKAGE_DESCRIPTION
       "Zemtra measures small voltages and their noise spectrum with the QT4418PX,\n"
       "a USB converter unit built around a 24-bit sigma-delta converter. It\n"
       "configures the unit, streams the samples, rejects overloaded records,\n"
       "computes an RMS-scaled spectrum with one of four windows and reports RMS,\n"
       "the largest spectral line and signal statistics.\n"
       "\n"
       "The package holds the desktop program zemtra, the command-line tool\n"
       "zemtra-cli, and a udev rule that gives the user at the machine access to\n"
       "the unit.")
set(CPACK_PACKAGE_CONTACT "${ZEMTRA_PACKAGE_MAINTAINER}")
set(CPACK_STRIP_FILES ON)
set(CPACK_DEBIAN_FILE_NAME DEB-DEFAULT)
set(CPACK_DEBIAN_PACKAGE_RELEASE 1)
set(CPACK_DEBIAN_PACKAGE_SECTION science)
set(CPACK_DEBIAN_PACKAGE_HOMEPAGE "${ZEMTRA_HOMEPAGE}")
set(CPACK_DEBIAN_PACKAGE_SHLIBDEPS ON)
set(CPACK_DEBIAN_PACKAGE_DEPENDS qt6-translations-l10n)  # the standard dialogs' Japanese texts
# The Japanese texts of the window and of the pictures need a CJK font.
set(CPACK_DEBIAN_PACKAGE_RECOMMENDS fonts-noto-cjk)
include(CPack)
