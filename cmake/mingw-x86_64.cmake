# Cross-compiles a 64-bit Windows program with Debian's posix-threads MinGW:
# the test programs and the code they link (GoogleTest needs its threads).
# The shipped program is built from the same sources by the toolchain named
# here.
set(CMAKE_SYSTEM_NAME Windows)
set(CMAKE_SYSTEM_PROCESSOR x86_64)
set(CMAKE_C_COMPILER x86_64-w64-mingw32-gcc-posix)
set(CMAKE_CXX_COMPILER x86_64-w64-mingw32-g++-posix)
set(CMAKE_RC_COMPILER x86_64-w64-mingw32-windres)
set(CMAKE_FIND_ROOT_PATH /usr/x86_64-w64-mingw32)
set(CMAKE_FIND_ROOT_PATH_MODE_PROGRAM NEVER)
set(CMAKE_FIND_ROOT_PATH_MODE_LIBRARY ONLY)
set(CMAKE_FIND_ROOT_PATH_MODE_INCLUDE ONLY)
set(QUIMBEL_SHIPPED_TOOLCHAIN ${CMAKE_CURRENT_LIST_DIR}/mingw-x86_64-win32.cmake)
