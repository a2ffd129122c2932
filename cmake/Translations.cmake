# The window's English: i18n/zemtra_en.ts, kept in the repository, is built into a .qm
# that the window library carries among its resources (:/i18n/zemtra_en.qm).
# `cmake --build --preset default --target update_translations` brings the .ts up to
# date with the sources' texts; the TranslationsComplete test fails while one lacks
# its English.
find_package(Qt6 REQUIRED COMPONENTS LinguistTools)

set(ZEMTRA_TS_FILES ${PROJECT_SOURCE_DIR}/i18n/zemtra_en.ts)
# Every folder whose Qt code shows texts through tr().
set(ZEMTRA_TRANSLATED_FOLDERS ui adc display files app)
set(ZEMTRA_TRANSLATED_SOURCES "")
foreach(folder IN LISTS ZEMTRA_TRANSLATED_FOLDERS)
  file(GLOB folder_sources CONFIGURE_DEPENDS ${PROJECT_SOURCE_DIR}/${folder}/*.cpp ${PROJECT_SOURCE_DIR}/${folder}/*.h)
  list(APPEND ZEMTRA_TRANSLATED_SOURCES ${folder_sources})
endforeach()
# Without line numbers the .ts changes only where a text does.
set(ZEMTRA_LUPDATE_OPTIONS -locations none -no-obsolete)

qt_add_translations(zemtra_gui TS_FILES ${ZEMTRA_TS_FILES} SOURCES ${ZEMTRA_TRANSLATED_SOURCES} RESOURCE_PREFIX /i18n
                    LUPDATE_OPTIONS ${ZEMTRA_LUPDATE_OPTIONS})
