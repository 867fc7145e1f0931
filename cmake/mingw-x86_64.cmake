# Cross-compiles a 64-bit Windows program with Debian's posix-threads MinGW:
# the test programs and the code they link (GoogleTest needs its threads).
set(QUIMBEL_MINGW_PROCESSOR x86_64)
set(QUIMBEL_MINGW_THREADS posix)
include(${CMAKE_CURRENT_LIST_DIR}/mingw-common.cmake)
