# What every MinGW cross-compiling toolchain here shares. The file that
# includes it names the processor and the thread model (Debian ships both
# for each processor, as gcc-posix and gcc-win32). The program that ships
# is always built by the win32-threads compilers of the same processor.
set(CMAKE_SYSTEM_NAME Windows)
set(CMAKE_SYSTEM_PROCESSOR ${QUIMBEL_MINGW_PROCESSOR})
set(CMAKE_C_COMPILER ${QUIMBEL_MINGW_PROCESSOR}-w64-mingw32-gcc-${QUIMBEL_MINGW_THREADS})
set(CMAKE_CXX_COMPILER ${QUIMBEL_MINGW_PROCESSOR}-w64-mingw32-g++-${QUIMBEL_MINGW_THREADS})
set(CMAKE_RC_COMPILER ${QUIMBEL_MINGW_PROCESSOR}-w64-mingw32-windres)
set(CMAKE_FIND_ROOT_PATH /usr/${QUIMBEL_MINGW_PROCESSOR}-w64-mingw32)
set(CMAKE_FIND_ROOT_PATH_MODE_PROGRAM NEVER)
set(CMAKE_FIND_ROOT_PATH_MODE_LIBRARY ONLY)
set(CMAKE_FIND_ROOT_PATH_MODE_INCLUDE ONLY)
set(QUIMBEL_SHIPPED_TOOLCHAIN ${CMAKE_CURRENT_LIST_DIR}/mingw-${QUIMBEL_MINGW_PROCESSOR}-win32.cmake)
