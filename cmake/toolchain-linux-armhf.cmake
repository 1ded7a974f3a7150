# Cross-build of the Linux tool for 32-bit ARM (Debian's armhf: ARMv7-A with a VFPv3 unit and
# Thumb-2, the code of Debian's cross compiler; a Raspberry Pi 2 or later with a 32-bit system).
# A Pi Zero or 1 (ARMv6) cannot run it. Its tests run under qemu-user.
set(CMAKE_SYSTEM_PROCESSOR armv7l)
set(DIALKIT_LINUX_TRIPLE arm-linux-gnueabihf)
set(DIALKIT_DEBIAN_ARCHITECTURE armhf)
set(DIALKIT_QEMU qemu-arm)
# 64-bit file offsets, inode numbers and times, as on the 64-bit systems: without them readdir
# fails (EOVERFLOW) on a directory whose entries' inode numbers or offsets need 64 bits, as on
# large or network file systems and under qemu-user, and the log's dates end in 2038.
set(CMAKE_C_FLAGS_INIT "-D_FILE_OFFSET_BITS=64 -D_TIME_BITS=64")
set(CMAKE_CXX_FLAGS_INIT "-D_FILE_OFFSET_BITS=64 -D_TIME_BITS=64")
include(${CMAKE_CURRENT_LIST_DIR}/linux-cross-common.cmake)
