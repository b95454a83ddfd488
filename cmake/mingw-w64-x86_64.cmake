# Cross build for 64-bit Windows with Debian's mingw-w64 (g++-mingw-w64-x86-64). The programs are
# linked statically (libgcc, libstdc++, winpthread) so each .exe runs without DLLs beside it, and
# ctest runs them under Wine through tests/outside/wine/run-under-wine.sh, in a Wine prefix of the
# build's own that is made on first use.
set(CMAKE_SYSTEM_NAME Windows)
set(CMAKE_SYSTEM_PROCESSOR x86_64)

set(QUORVEL_MINGW_TRIPLET x86_64-w64-mingw32)
# The posix thread model: its libstdc++ has std::thread and std::mutex, which the win32 one of
# GCC 12 lacks.
find_program(QUORVEL_MINGW_CXX NAMES ${QUORVEL_MINGW_TRIPLET}-g++-posix ${QUORVEL_MINGW_TRIPLET}-g++)
find_program(QUORVEL_MINGW_CC NAMES ${QUORVEL_MINGW_TRIPLET}-gcc-posix ${QUORVEL_MINGW_TRIPLET}-gcc)
if(NOT QUORVEL_MINGW_CXX OR NOT QUORVEL_MINGW_CC)
  message(FATAL_ERROR "mingw-w64 is missing (package g++-mingw-w64-x86-64)")
endif()
set(CMAKE_CXX_COMPILER ${QUORVEL_MINGW_CXX})
set(CMAKE_C_COMPILER ${QUORVEL_MINGW_CC})
set(CMAKE_RC_COMPILER ${QUORVEL_MINGW_TRIPLET}-windres)

set(CMAKE_FIND_ROOT_PATH /usr/${QUORVEL_MINGW_TRIPLET})
set(CMAKE_FIND_ROOT_PATH_MODE_PROGRAM NEVER)
set(CMAKE_FIND_ROOT_PATH_MODE_LIBRARY ONLY)
set(CMAKE_FIND_ROOT_PATH_MODE_INCLUDE ONLY)
set(CMAKE_FIND_ROOT_PATH_MODE_PACKAGE ONLY)

set(CMAKE_EXE_LINKER_FLAGS_INIT "-static -static-libgcc -static-libstdc++")

set(quorvel_wine_tests ${CMAKE_CURRENT_LIST_DIR}/../tests/outside/wine)
set(CMAKE_CROSSCOMPILING_EMULATOR
    "${quorvel_wine_tests}/run-under-wine.sh;${CMAKE_BINARY_DIR}/wine-prefix")
