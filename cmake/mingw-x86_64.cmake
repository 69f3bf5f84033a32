# The test bench's fallback target: the same sources for 64-bit Windows, used only on a Linux machine
# that cannot run 32-bit code (see docs/architecture.md). Deliverables are always the 32-bit build.
set(CMAKE_SYSTEM_PROCESSOR AMD64)
set(KORVET_MINGW_PREFIX x86_64-w64-mingw32)
set(KORVET_WINE_ARCH win64)
include(${CMAKE_CURRENT_LIST_DIR}/mingw.cmake)
