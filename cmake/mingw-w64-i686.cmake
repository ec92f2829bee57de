# Cross build with mingw-w64 (i686): the hook library for 32-bit programs and
# its host (CORVANE_HOOKS32), nothing else.
set(CMAKE_SYSTEM_PROCESSOR i686)
set(TOOLCHAIN_PREFIX i686-w64-mingw32)
include(${CMAKE_CURRENT_LIST_DIR}/mingw-w64-common.cmake)
