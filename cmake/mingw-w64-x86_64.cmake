# Cross-compiles the game for 64-bit Windows with Debian's mingw-w64 (the posix thread model,
# which std::thread needs). Use: cmake -DCMAKE_TOOLCHAIN_FILE=cmake/mingw-w64-x86_64.cmake
set(CMAKE_SYSTEM_NAME Windows)
set(CMAKE_SYSTEM_PROCESSOR x86_64)

set(VASUL_MINGW_PREFIX x86_64-w64-mingw32)
set(CMAKE_C_COMPILER ${VASUL_MINGW_PREFIX}-gcc-posix)
set(CMAKE_CXX_COMPILER ${VASUL_MINGW_PREFIX}-g++-posix)
set(CMAKE_RC_COMPILER ${VASUL_MINGW_PREFIX}-windres)

set(CMAKE_FIND_ROOT_PATH /usr/${VASUL_MINGW_PREFIX})
set(CMAKE_FIND_ROOT_PATH_MODE_PROGRAM NEVER)
set(CMAKE_FIND_ROOT_PATH_MODE_LIBRARY ONLY)
set(CMAKE_FIND_ROOT_PATH_MODE_INCLUDE ONLY)
set(CMAKE_FIND_ROOT_PATH_MODE_PACKAGE ONLY)

# Tests and the game run under Wine on the build machine.
find_program(VASUL_WINE NAMES wine wine64)
if(VASUL_WINE)
  set(CMAKE_CROSSCOMPILING_EMULATOR ${VASUL_WINE})
endif()
