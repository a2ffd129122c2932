# Fails when a source file includes a header of a higher layer. LAYERS names the
# folders bottom first; a folder may include its own headers and those of the folders
# before it.
#   cmake -DSOURCE_DIR=<repository> -DLAYERS=a,b,... -P LayerOrder.cmake
if(NOT LAYERS)
  message(FATAL_ERROR "LayerOrder.cmake: LAYERS names no folder")
endif()
string(REPLACE "," ";" layers "${LAYERS}")

set(violations "")
list(LENGTH layers layerCount)
math(EXPR lastLayer "${layerCount} - 1")
foreach(rank RANGE ${lastLayer})
  list(GET layers ${rank} folder)
  file(GLOB_RECURSE sources "${SOURCE_DIR}/${folder}/*.h" "${SOURCE_DIR}/${folder}/*.cpp")
  foreach(source IN LISTS sources)
    file(STRINGS "${source}" includes REGEX "^[ \t]*#[ \t]*include[ \t]+\"[A-Za-z_]+/")
    foreach(line IN LISTS includes)
      string(REGEX REPLACE "^[ \t]*#[ \t]*include[ \t]+\"([A-Za-z_]+)/.*" "\\1" included "${line}")
      list(FIND layers "${included}" includedRank)
      if(includedRank GREATER rank)
        file(RELATIVE_PATH shown "${SOURCE_DIR}" "${source}")
        string(APPEND violations "  ${shown}: ${line} (${folder} is below ${included})\n")
      endif()
    endforeach()
  endforeach()
endforeach()

if(violations)
  string(REPLACE ";" " < " order "${layers}")
  message(FATAL_ERROR "includes running up the layers (${order}):\n${violations}")
endif()
