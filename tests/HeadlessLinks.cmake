# Fails when a program's own dynamic entries need a library it must not need, or lack
# one it must: the command-line tool starts on a machine without a desktop, so it needs
# QtGui for its pictures but neither the widgets, nor printing, nor the X11 libraries.
#   cmake -DREADELF=readelf -DPROGRAM=<binary> -DREQUIRED=re;re -DFORBIDDEN=re;re -P HeadlessLinks.cmake
# Each pattern is a regular expression matched against each needed library's name.
execute_process(COMMAND ${READELF} -d ${PROGRAM} OUTPUT_VARIABLE dynamic ERROR_VARIABLE error RESULT_VARIABLE status)
if(NOT status EQUAL 0)
  message(FATAL_ERROR "${READELF} -d ${PROGRAM} failed (${status}): ${error}")
endif()

string(REGEX MATCHALL "\\(NEEDED\\)[^\n]*\\[[^]\n]+\\]" entries "${dynamic}")
set(needed "")
foreach(entry IN LISTS entries)
  string(REGEX REPLACE ".*\\[([^]]+)\\]" "\\1" library "${entry}")
  list(APPEND needed "${library}")
endforeach()

get_filename_component(name ${PROGRAM} NAME)
set(problems "")
foreach(pattern IN LISTS REQUIRED)
  set(found FALSE)
  foreach(library IN LISTS needed)
    if(library MATCHES "${pattern}")
      set(found TRUE)
    endif()
  endforeach()
  if(NOT found)
    string(APPEND problems "  needs nothing that matches ${pattern}\n")
  endif()
endforeach()
foreach(library IN LISTS needed)
  foreach(pattern IN LISTS FORBIDDEN)
    if(library MATCHES "${pattern}")
      string(APPEND problems "  needs ${library}\n")
    endif()
  endforeach()
endforeach()

if(problems)
  list(JOIN needed ", " shown)
  message(FATAL_ERROR "${name} does not link as a machine without a desktop needs (it needs ${shown}):\n${problems}")
endif()
