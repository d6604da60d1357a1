# Cross-compiling for Windows with mingw-w64. The architecture is x86_64 (the
# Windows suites under Wine) unless a toolchain file that includes this one
# sets VT_MINGW_ARCH first (cmake/mingw-w64-i686.cmake: the terminals' 32-bit
# program).
if(NOT DEFINED VT_MINGW_ARCH)
  set(VT_MINGW_ARCH x86_64)
endif()
set(CMAKE_SYSTEM_NAME Windows)
set(CMAKE_SYSTEM_PROCESSOR ${VT_MINGW_ARCH})
set(CMAKE_C_COMPILER ${VT_MINGW_ARCH}-w64-mingw32-gcc-posix)
set(CMAKE_CXX_COMPILER ${VT_MINGW_ARCH}-w64-mingw32-g++-posix)
set(CMAKE_RC_COMPILER ${VT_MINGW_ARCH}-w64-mingw32-windres)
set(CMAKE_FIND_ROOT_PATH /usr/${VT_MINGW_ARCH}-w64-mingw32)
set(CMAKE_FIND_ROOT_PATH_MODE_PROGRAM NEVER)
set(CMAKE_FIND_ROOT_PATH_MODE_LIBRARY ONLY)
set(CMAKE_FIND_ROOT_PATH_MODE_INCLUDE ONLY)
set(CMAKE_FIND_ROOT_PATH_MODE_PACKAGE ONLY)
set(ZLIB_USE_STATIC_LIBS ON)
# Tests run under Wine; the prefix lives in the build tree so CI needs no HOME,
# and the user locale is Brazilian Portuguese, as on the terminals.
set(CMAKE_CROSSCOMPILING_EMULATOR
    /usr/bin/env;WINEPREFIX=${CMAKE_BINARY_DIR}/wineprefix;LC_ALL=pt_BR.UTF-8;WINEDEBUG=-all;WINEDLLOVERRIDES=mscoree,mshtml=;/usr/bin/wine)
