# The terminals' program: 32-bit Windows (it loads the 32-bit libmySQL.dll the
# terminals carry). Its suites run under 32-bit Wine (wine32 beside wine64)
# wherever the machine runs 32-bit programs (scripts/wine32-probe).
set(VT_MINGW_ARCH i686)
include(${CMAKE_CURRENT_LIST_DIR}/mingw-w64.cmake)
