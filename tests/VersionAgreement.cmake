# Fails when a place that shows the version disagrees with the project's version:
# --version of each program, the man pages, the metainfo and the package's changelog.
#   cmake -DVERSION=1.1.0 -DPROGRAMS=a;b -DMAN_PAGES=a.1;b.1 [-DMETAINFO=x.xml] -DCHANGELOG=changelog
#         -P VersionAgreement.cmake

set(problems "")
foreach(program IN LISTS PROGRAMS)
  get_filename_component(name ${program} NAME)
  execute_process(COMMAND ${program} --version OUTPUT_VARIABLE out RESULT_VARIABLE status)
  if(NOT status EQUAL 0 OR NOT out STREQUAL "${name} ${VERSION}\n")
    string(APPEND problems "  ${name} --version: exit ${status}, \"${out}\"\n")
  endif()
endforeach()

# check(WHAT FILE REGEX): the first match of REGEX in FILE must capture VERSION.
function(check what file regex)
  file(READ "${file}" text)
  if(NOT text MATCHES "${regex}" OR NOT CMAKE_MATCH_1 STREQUAL VERSION)
    set(problems "${problems}  ${what} (${file}): \"${CMAKE_MATCH_1}\"\n" PARENT_SCOPE)
  endif()
endfunction()

foreach(page IN LISTS MAN_PAGES)
  check("man page" ${page} "\\.TH [^\n]*\"Zemtra ([^\"]*)\"")
endforeach()
if(METAINFO)
  check("metainfo release" ${METAINFO} "<release version=\"([^\"]*)\"")
endif()
# The package's revision follows the hyphen.
check("changelog" ${CHANGELOG} "^zemtra \\(([^-)]*)-[0-9]+\\)")

if(problems)
  message(FATAL_ERROR "The version is not ${VERSION} everywhere:\n${problems}")
endif()
