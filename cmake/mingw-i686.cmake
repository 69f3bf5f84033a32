# Cross-build for 32-bit Windows with MinGW-w64 (posix threads). The binaries run on Windows as they
# are; on Linux the test bench runs them under Wine through scripts/wine-run.
set(CMAKE_SYSTEM_NAME Windows)
set(CMAKE_SYSTEM_PROCESSOR x86)

set(KORVET_MINGW_PREFIX i686-w64-mingw32)
find_program(CMAKE_C_COMPILER NAMES ${KORVET_MINGW_PREFIX}-gcc-posix ${KORVET_MINGW_PREFIX}-gcc REQUIRED)
find_program(CMAKE_CXX_COMPILER NAMES ${KORVET_MINGW_PREFIX}-g++-posix ${KORVET_MINGW_PREFIX}-g++ REQUIRED)
find_program(CMAKE_RC_COMPILER NAMES ${KORVET_MINGW_PREFIX}-windres REQUIRED)
find_program(KORVET_DLLTOOL NAMES ${KORVET_MINGW_PREFIX}-dlltool REQUIRED)
find_program(KORVET_OBJDUMP NAMES ${KORVET_MINGW_PREFIX}-objdump REQUIRED)

set(CMAKE_FIND_ROOT_PATH /usr/${KORVET_MINGW_PREFIX})
set(CMAKE_FIND_ROOT_PATH_MODE_PROGRAM NEVER)
set(CMAKE_FIND_ROOT_PATH_MODE_LIBRARY ONLY)
set(CMAKE_FIND_ROOT_PATH_MODE_INCLUDE ONLY)

# Every program and test runs under Wine on the bench.
set(CMAKE_CROSSCOMPILING_EMULATOR ${CMAKE_CURRENT_LIST_DIR}/../scripts/wine-run)
