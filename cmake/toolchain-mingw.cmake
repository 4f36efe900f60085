# Cross-building for 64-bit Windows with Debian's MinGW-w64 (posix threads); the tests and the
# build's own generators (samples, manual) run under Wine. ./dev windows sets up the rest.
#   CHOKUSHO_WINDOWS_PREFIXES: the cross-built libraries to search (GoogleTest), ';'-separated.
set(CMAKE_SYSTEM_NAME Windows)
set(CMAKE_SYSTEM_PROCESSOR x86_64)
set(CHOKUSHO_MINGW x86_64-w64-mingw32)

set(CMAKE_C_COMPILER ${CHOKUSHO_MINGW}-gcc-posix)
set(CMAKE_CXX_COMPILER ${CHOKUSHO_MINGW}-g++-posix)
set(CMAKE_RC_COMPILER ${CHOKUSHO_MINGW}-windres)
set(CMAKE_AR /usr/bin/${CHOKUSHO_MINGW}-ar CACHE FILEPATH "")
set(CMAKE_RANLIB /usr/bin/${CHOKUSHO_MINGW}-ranlib CACHE FILEPATH "")

list(APPEND CMAKE_FIND_ROOT_PATH /usr/${CHOKUSHO_MINGW} $ENV{CHOKUSHO_WINDOWS_PREFIXES})
set(CMAKE_FIND_ROOT_PATH_MODE_PROGRAM NEVER)
set(CMAKE_FIND_ROOT_PATH_MODE_LIBRARY ONLY)
set(CMAKE_FIND_ROOT_PATH_MODE_INCLUDE ONLY)
set(CMAKE_FIND_ROOT_PATH_MODE_PACKAGE ONLY)

# Tests, test discovery and the build's generators run the .exe files through Wine.
set(CMAKE_CROSSCOMPILING_EMULATOR ${CMAKE_CURRENT_LIST_DIR}/wine-run)
