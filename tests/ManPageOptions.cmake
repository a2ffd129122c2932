# Fails when a man page and its program's --help name different options, so the
# hand-written page cannot drift from the program.
#   cmake -DPROGRAM=<executable> -DMAN_PAGE=<page.1> [-DCOMMANDS=a,b,...] -P ManPageOptions.cmake
# The help of the program and of each of its COMMANDS is read.

# The long options named in TEXT, sorted, each once.
function(long_options text out)
  string(REGEX MATCHALL "--[a-z0-9][a-z0-9-]*" found "${text}")
  list(REMOVE_DUPLICATES found)
  list(SORT found)
  set(${out} "${found}" PARENT_SCOPE)
endfunction()

string(REPLACE "," ";" commands "${COMMANDS}")
set(help "")
foreach(command IN ITEMS "" ${commands})
  execute_process(COMMAND ${PROGRAM} ${command} --help OUTPUT_VARIABLE out RESULT_VARIABLE status)
  if(NOT status EQUAL 0)
    message(FATAL_ERROR "${PROGRAM} ${command} --help exited with ${status}")
  endif()
  string(APPEND help "${out}")
endforeach()
long_options("${help}" helpOptions)

file(READ "${MAN_PAGE}" page)
# Comment lines are not shown; "\-" is how a page writes the hyphen of an option.
string(REGEX REPLACE "(^|\n)\\.\\\\\"[^\n]*" "" page "${page}")
string(REPLACE "\\-" "-" page "${page}")
long_options("${page}" pageOptions)

set(onlyHelp ${helpOptions})
list(REMOVE_ITEM onlyHelp ${pageOptions})
set(onlyPage ${pageOptions})
list(REMOVE_ITEM onlyPage ${helpOptions})
if(onlyHelp OR onlyPage)
  message(FATAL_ERROR "${MAN_PAGE} and --help differ:\n"
                      "  only in --help: ${onlyHelp}\n  only in the page: ${onlyPage}")
endif()
