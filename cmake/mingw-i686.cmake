# Cross-compiles a 32-bit Windows program with Debian's posix-threads MinGW:
# the test programs and the code they link (GoogleTest needs its threads).
set(QUIMBEL_MINGW_PROCESSOR i686)
set(QUIMBEL_MINGW_THREADS posix)
include(${CMAKE_CURRENT_LIST_DIR}/mingw-common.cmake)
