# Cross-compiles the shipped 64-bit program with Debian's win32-threads
# MinGW, whose runtime imports nothing that the oldest Windows the program
# is for lacks (the posix-threads runtime imports calls of XP and later).
set(QUIMBEL_MINGW_PROCESSOR x86_64)
set(QUIMBEL_MINGW_THREADS win32)
include(${CMAKE_CURRENT_LIST_DIR}/mingw-common.cmake)
