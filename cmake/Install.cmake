# Installation on Linux desktops and the Debian package (cpack --preset release, run
# by scripts/package). Included after every folder, so the targets tested below exist.
if(NOT LINUX)
  return()
endif()

include(GNUInstallDirs)

set(ZEMTRA_DIST ${PROJECT_SOURCE_DIR}/dist)
set(ZEMTRA_MAN_BUILD_DIR ${PROJECT_BINARY_DIR}/man)

find_program(GZIP_PROGRAM gzip REQUIRED)

# Two packages: zemtra-cli holds the command-line tool and what any use of the unit needs
# (the udev rule), so that a machine without a desktop installs no widget libraries;
# zemtra holds the desktop program and depends on zemtra-cli for the rule.
set(ZEMTRA_CLI_COMPONENT cli)
set(ZEMTRA_DESKTOP_COMPONENT desktop)
set(ZEMTRA_CLI_PACKAGE zemtra-cli)
set(ZEMTRA_DESKTOP_PACKAGE zemtra)

# zemtra_install_gzipped(FILE DESTINATION COMPONENT): FILE (in the build tree) compressed
# reproducibly (no name or time stamp inside) as Debian expects, installed as FILE.gz.
function(zemtra_install_gzipped file destination component)
  get_filename_component(dir ${file} DIRECTORY)
  get_filename_component(name ${file} NAME)
  add_custom_command(
    OUTPUT ${file}.gz
    COMMAND ${GZIP_PROGRAM} -9 -n -f -k ${name}
    DEPENDS ${file}
    WORKING_DIRECTORY ${dir}
    VERBATIM)
  string(MAKE_C_IDENTIFIER "gzip-${component}-${name}" target)
  add_custom_target(${target} ALL DEPENDS ${file}.gz)
  install(FILES ${file}.gz DESTINATION ${destination} COMPONENT ${component})
endfunction()

# zemtra_install_man_page(NAME COMPONENT): dist/man/NAME.1 with the version filled in,
# into section 1.
function(zemtra_install_man_page name component)
  configure_file(${ZEMTRA_DIST}/man/${name}.1 ${ZEMTRA_MAN_BUILD_DIR}/${name}.1 @ONLY)
  zemtra_install_gzipped(${ZEMTRA_MAN_BUILD_DIR}/${name}.1 ${CMAKE_INSTALL_MANDIR}/man1 ${component})
endfunction()

# zemtra_install_debian_docs(PACKAGE COMPONENT [FILES ...]): what Debian wants of every
# package, in its own documentation folder: the copyright and the changelog, and FILES
# besides.
function(zemtra_install_debian_docs package component)
  set(doc_dir ${CMAKE_INSTALL_DATADIR}/doc/${package})
  install(FILES ${ZEMTRA_DIST}/debian/copyright ${ARGN} DESTINATION ${doc_dir} COMPONENT ${component})
  configure_file(${ZEMTRA_DIST}/debian/changelog ${PROJECT_BINARY_DIR}/debian/${package}/changelog.Debian COPYONLY)
  zemtra_install_gzipped(${PROJECT_BINARY_DIR}/debian/${package}/changelog.Debian ${doc_dir} ${component})
endfunction()

# Completion scripts load on demand from bash-completion's folder, one per command.
set(ZEMTRA_COMPLETION_DIR ${CMAKE_INSTALL_DATADIR}/bash-completion/completions)

install(TARGETS zemtra-cli RUNTIME DESTINATION ${CMAKE_INSTALL_BINDIR} COMPONENT ${ZEMTRA_CLI_COMPONENT})
zemtra_install_man_page(zemtra-cli ${ZEMTRA_CLI_COMPONENT})
install(FILES ${ZEMTRA_DIST}/completion/zemtra-cli DESTINATION ${ZEMTRA_COMPLETION_DIR}
        COMPONENT ${ZEMTRA_CLI_COMPONENT})
# udev reads rules from <prefix>/lib/udev/rules.d, never from a multiarch library folder.
install(FILES ${ZEMTRA_DIST}/udev/60-zemtra.rules DESTINATION lib/udev/rules.d COMPONENT ${ZEMTRA_CLI_COMPONENT})
# The README and the licence cover both programs; the desktop package depends on this one.
zemtra_install_debian_docs(${ZEMTRA_CLI_PACKAGE} ${ZEMTRA_CLI_COMPONENT}
                           ${PROJECT_SOURCE_DIR}/README.md ${PROJECT_SOURCE_DIR}/LICENSE)
set(ZEMTRA_COMPONENTS ${ZEMTRA_CLI_COMPONENT})

# The menu entry, its icon and the software-centre description only make sense with
# the desktop program they launch, which is built only when Qt is found.
if(TARGET zemtra)
  install(TARGETS zemtra RUNTIME DESTINATION ${CMAKE_INSTALL_BINDIR} COMPONENT ${ZEMTRA_DESKTOP_COMPONENT})
  zemtra_install_man_page(zemtra ${ZEMTRA_DESKTOP_COMPONENT})
  install(FILES ${ZEMTRA_DIST}/completion/zemtra DESTINATION ${ZEMTRA_COMPLETION_DIR}
          COMPONENT ${ZEMTRA_DESKTOP_COMPONENT})
  install(FILES ${ZEMTRA_DIST}/desktop/${ZEMTRA_APP_ID}.desktop DESTINATION ${CMAKE_INSTALL_DATADIR}/applications
          COMPONENT ${ZEMTRA_DESKTOP_COMPONENT})
  # The metainfo carries the project's version and release date.
  configure_file(${ZEMTRA_DIST}/desktop/${ZEMTRA_APP_ID}.metainfo.xml.in
                 ${PROJECT_BINARY_DIR}/desktop/${ZEMTRA_APP_ID}.metainfo.xml @ONLY)
  install(FILES ${PROJECT_BINARY_DIR}/desktop/${ZEMTRA_APP_ID}.metainfo.xml DESTINATION ${CMAKE_INSTALL_DATADIR}/metainfo
          COMPONENT ${ZEMTRA_DESKTOP_COMPONENT})
  install(DIRECTORY ${ZEMTRA_DIST}/icons/hicolor DESTINATION ${CMAKE_INSTALL_DATADIR}/icons
          COMPONENT ${ZEMTRA_DESKTOP_COMPONENT})
  zemtra_install_debian_docs(${ZEMTRA_DESKTOP_PACKAGE} ${ZEMTRA_DESKTOP_COMPONENT})
  list(APPEND ZEMTRA_COMPONENTS ${ZEMTRA_DESKTOP_COMPONENT})
endif()

# The Debian packages, one per component. Their library dependencies come from
# dpkg-shlibdeps, each package's from its own programs.
set(ZEMTRA_PACKAGE_MAINTAINER "Zemtra developers <zemtra@zemtra.org>" CACHE STRING "Maintainer field of the Debian packages")
# The packages' revision is the one of the changelog's latest entry, "zemtra (1.1.0-2)".
file(STRINGS ${ZEMTRA_DIST}/debian/changelog ZEMTRA_CHANGELOG_TOP LIMIT_COUNT 1)
if(NOT ZEMTRA_CHANGELOG_TOP MATCHES "^zemtra \\([^-)]+-([0-9]+)\\)")
  message(FATAL_ERROR "dist/debian/changelog does not start with \"zemtra (VERSION-REVISION)\": ${ZEMTRA_CHANGELOG_TOP}")
endif()
set(ZEMTRA_PACKAGE_REVISION ${CMAKE_MATCH_1})
# Before this version one package zemtra held both programs: zemtra-cli takes over the
# tool's files from it.
set(ZEMTRA_FIRST_SPLIT_VERSION 1.1.0-2)
set(CPACK_GENERATOR DEB)
set(CPACK_PACKAGE_NAME zemtra)
set(CPACK_PACKAGING_INSTALL_PREFIX /usr)
set(CPACK_DEB_COMPONENT_INSTALL ON)
set(CPACK_COMPONENTS_ALL ${ZEMTRA_COMPONENTS})
# Each package's description starts with its own summary line; CPack puts the project's
# summary in front of both unless that is left at CPack's default.
set(CPACK_PACKAGE_DESCRIPTION_SUMMARY "${CMAKE_PROJECT_NAME} built using CMake")
string(CONCAT ZEMTRA_PACKAGE_ABOUT
       "Zemtra measures small voltages and their noise spectrum with the QT4418PX,\n"
       "a USB converter unit built around a 24-bit sigma-delta converter. It\n"
       "configures the unit, streams the samples, rejects overloaded records,\n"
       "computes an RMS-scaled spectrum with one of four windows and reports RMS,\n"
       "the largest spectral line and signal statistics.\n"
       "\n")
string(CONCAT CPACK_DEBIAN_CLI_DESCRIPTION
       "Noise and spectrum measurement with the QT4418PX: command-line tool\n"
       "${ZEMTRA_PACKAGE_ABOUT}"
       "This package holds the command-line tool zemtra-cli, which runs without a\n"
       "display, and a udev rule that gives the user at the machine access to the\n"
       "unit.")
string(CONCAT CPACK_DEBIAN_DESKTOP_DESCRIPTION
       "Noise and spectrum measurement with the QT4418PX: desktop program\n"
       "${ZEMTRA_PACKAGE_ABOUT}"
       "This package holds the desktop program zemtra with its menu entry. The\n"
       "command-line tool and the unit's udev rule come with zemtra-cli.")
set(CPACK_PACKAGE_CONTACT "${ZEMTRA_PACKAGE_MAINTAINER}")
set(CPACK_STRIP_FILES ON)
set(CPACK_DEBIAN_FILE_NAME DEB-DEFAULT)
set(CPACK_DEBIAN_PACKAGE_RELEASE ${ZEMTRA_PACKAGE_REVISION})
set(CPACK_DEBIAN_PACKAGE_SOURCE zemtra)
set(CPACK_DEBIAN_PACKAGE_SECTION science)
set(CPACK_DEBIAN_PACKAGE_HOMEPAGE "${ZEMTRA_HOMEPAGE}")
set(CPACK_DEBIAN_PACKAGE_SHLIBDEPS ON)
# The Japanese texts of the window and of the pictures need a CJK font.
set(CPACK_DEBIAN_PACKAGE_RECOMMENDS fonts-noto-cjk)
set(CPACK_DEBIAN_CLI_PACKAGE_NAME ${ZEMTRA_CLI_PACKAGE})
set(CPACK_DEBIAN_CLI_PACKAGE_BREAKS "${ZEMTRA_DESKTOP_PACKAGE} (<< ${ZEMTRA_FIRST_SPLIT_VERSION})")
set(CPACK_DEBIAN_CLI_PACKAGE_REPLACES "${ZEMTRA_DESKTOP_PACKAGE} (<< ${ZEMTRA_FIRST_SPLIT_VERSION})")
set(CPACK_DEBIAN_DESKTOP_PACKAGE_NAME ${ZEMTRA_DESKTOP_PACKAGE})
set(CPACK_DEBIAN_DESKTOP_PACKAGE_DEPENDS qt6-translations-l10n)  # the standard dialogs' Japanese texts
# The desktop program's access to the unit is zemtra-cli's udev rule: the same version.
set(CPACK_DEBIAN_ENABLE_COMPONENT_DEPENDS ON)
include(CPack)
cpack_add_component(${ZEMTRA_CLI_COMPONENT} DISPLAY_NAME "Command-line tool")
if(TARGET zemtra)
  cpack_add_component(${ZEMTRA_DESKTOP_COMPONENT} DISPLAY_NAME "Desktop program" DEPENDS ${ZEMTRA_CLI_COMPONENT})
endif()
