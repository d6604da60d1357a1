set(CMAKE_SYSTEM_NAME Windows)
set(CMAKE_SYSTEM_PROCESSOR x86_64)
set(CMAKE_C_COMPILER x86_64-w64-mingw32-gcc-posix)
set(CMAKE_CXX_COMPILER x86_64-w64-mingw32-g++-posix)
set(CMAKE_RC_COMPILER x86_64-w64-mingw32-windres)
set(CMAKE_FIND_ROOT_PATH /usr/x86_64-w64-mingw32)
set(CMAKE_FIND_ROOT_PATH_MODE_PROGRAM NEVER)
set(CMAKE_FIND_ROOT_PATH_MODE_LIBRARY ONLY)
set(CMAKE_FIND_ROOT_PATH_MODE_INCLUDE ONLY)
set(CMAKE_FIND_ROOT_PATH_MODE_PACKAGE ONLY)
set(ZLIB_USE_STATIC_LIBS ON)
# Tests run under Wine; the prefix lives in the build tree so CI needs no HOME,
# and the user locale is Brazilian Portuguese, as on the terminals.
set(CMAKE_CROSSCOMPILING_EMULATOR
    /usr/bin/env;WINEPREFIX=${CMAKE_BINARY_DIR}/wineprefix;LC_ALL=pt_BR.UTF-8;WINEDEBUG=-all;WINEDLLOVERRIDES=mscoree,mshtml=;/usr/bin/wine)
