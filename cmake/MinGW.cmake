# Cross-compiles for 64-bit Windows with MinGW-w64 (the POSIX threads variant, so
# std::thread and std::mutex work as on Linux). The programs are linked statically:
# the .exe files run on a bare Windows without the compiler's runtime libraries.
# Programs built here run on the build machine under Wine (cmake/wine-run).
set(CMAKE_SYSTEM_NAME Windows)
set(CMAKE_SYSTEM_PROCESSOR x86_64)

set(ZEMTRA_MINGW_TRIPLET x86_64-w64-mingw32)
set(CMAKE_C_COMPILER ${ZEMTRA_MINGW_TRIPLET}-gcc-posix)
set(CMAKE_CXX_COMPILER ${ZEMTRA_MINGW_TRIPLET}-g++-posix)
set(CMAKE_RC_COMPILER ${ZEMTRA_MINGW_TRIPLET}-windres)

# Libraries and headers come from the cross compiler's tree only, programs from the host.
set(CMAKE_FIND_ROOT_PATH /usr/${ZEMTRA_MINGW_TRIPLET})
set(CMAKE_FIND_ROOT_PATH_MODE_PROGRAM NEVER)
set(CMAKE_FIND_ROOT_PATH_MODE_LIBRARY ONLY)
set(CMAKE_FIND_ROOT_PATH_MODE_INCLUDE ONLY)
set(CMAKE_FIND_ROOT_PATH_MODE_PACKAGE ONLY)

set(CMAKE_EXE_LINKER_FLAGS_INIT "-static")
set(CMAKE_SHARED_LINKER_FLAGS_INIT "-static")

set(CMAKE_CROSSCOMPILING_EMULATOR ${CMAKE_CURRENT_LIST_DIR}/wine-run)
