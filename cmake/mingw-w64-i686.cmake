# The terminals' program: 32-bit Windows (it loads the 32-bit libmySQL.dll the
# terminals carry). Built and checked here, never run: this machine's kernel
# runs no 32-bit programs.
set(VT_MINGW_ARCH i686)
include(${CMAKE_CURRENT_LIST_DIR}/mingw-w64.cmake)
