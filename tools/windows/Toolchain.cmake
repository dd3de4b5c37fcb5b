# Cross-compiling for 64-bit Windows with Debian's mingw-w64 (posix threads) toolchain.
# KORVANE_WINDOWS_PREFIX: where tools/windows/build-deps.sh put the libraries.
# KORVANE_WINE_PREFIX: the Wine prefix the test programs run in (the Makefile names it).
set(CMAKE_SYSTEM_NAME Windows)
set(CMAKE_SYSTEM_PROCESSOR AMD64)
set(CMAKE_C_COMPILER x86_64-w64-mingw32-gcc-posix)
set(CMAKE_CXX_COMPILER x86_64-w64-mingw32-g++-posix)
set(CMAKE_RC_COMPILER x86_64-w64-mingw32-windres)
set(CMAKE_FIND_ROOT_PATH ${KORVANE_WINDOWS_PREFIX} /usr/x86_64-w64-mingw32)
set(CMAKE_FIND_ROOT_PATH_MODE_PROGRAM NEVER)
set(CMAKE_FIND_ROOT_PATH_MODE_LIBRARY ONLY)
set(CMAKE_FIND_ROOT_PATH_MODE_INCLUDE ONLY)
set(CMAKE_FIND_ROOT_PATH_MODE_PACKAGE ONLY)
# Programs built here run under Wine (gtest_discover_tests lists tests through it), in the
# test runner's Wine prefix, finding the DLLs in the library prefix.
set(CMAKE_CROSSCOMPILING_EMULATOR env WINEPREFIX=${KORVANE_WINE_PREFIX} WINEDEBUG=-all
    WINEDLLOVERRIDES=winemenubuilder.exe=d WINEPATH=${KORVANE_WINDOWS_PREFIX}/bin wine)
