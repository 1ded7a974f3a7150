# Shared part of the Linux cross toolchain files: Debian's cross compilers, whose target system
# (C library, C++ library) lies in /usr/TRIPLE, and qemu-user to run what they build, pointed at
# that system (-L) since nothing here registers the emulator with the kernel (binfmt).
set(CMAKE_SYSTEM_NAME Linux)
set(CMAKE_C_COMPILER ${DIALKIT_LINUX_TRIPLE}-gcc)
set(CMAKE_CXX_COMPILER ${DIALKIT_LINUX_TRIPLE}-g++)
set(CMAKE_FIND_ROOT_PATH /usr/${DIALKIT_LINUX_TRIPLE})
set(CMAKE_FIND_ROOT_PATH_MODE_PROGRAM NEVER)
set(CMAKE_FIND_ROOT_PATH_MODE_LIBRARY ONLY)
set(CMAKE_FIND_ROOT_PATH_MODE_INCLUDE ONLY)
set(CMAKE_FIND_ROOT_PATH_MODE_PACKAGE ONLY)
set(CMAKE_CROSSCOMPILING_EMULATOR ${DIALKIT_QEMU} -L /usr/${DIALKIT_LINUX_TRIPLE})
