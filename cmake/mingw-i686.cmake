# The product's target: 32-bit Windows (i686), built with MinGW-w64 (posix threads).
set(CMAKE_SYSTEM_PROCESSOR x86)
set(KORVET_MINGW_PREFIX i686-w64-mingw32)
set(KORVET_WINE_ARCH win32)
include(${CMAKE_CURRENT_LIST_DIR}/mingw.cmake)
