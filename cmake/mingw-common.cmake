# Shared part of the two MinGW-w64 toolchain files: the POSIX-thread compilers, so that
# std::thread and std::mutex work, and the cross root for find_* calls.
set(CMAKE_SYSTEM_NAME Windows)
set(CMAKE_C_COMPILER ${DIALKIT_MINGW_TRIPLE}-gcc-posix)
set(CMAKE_CXX_COMPILER ${DIALKIT_MINGW_TRIPLE}-g++-posix)
set(CMAKE_RC_COMPILER ${DIALKIT_MINGW_TRIPLE}-windres)
set(CMAKE_FIND_ROOT_PATH /usr/${DIALKIT_MINGW_TRIPLE})
set(CMAKE_FIND_ROOT_PATH_MODE_PROGRAM NEVER)
set(CMAKE_FIND_ROOT_PATH_MODE_LIBRARY ONLY)
set(CMAKE_FIND_ROOT_PATH_MODE_INCLUDE ONLY)
set(CMAKE_FIND_ROOT_PATH_MODE_PACKAGE ONLY)
