# Cross-build of the Linux tool for 64-bit ARM (Debian's arm64: a Raspberry Pi 3, 4 or 5, or any
# ARMv8 board, with a 64-bit system), with Debian's cross compiler. Its tests run under qemu-user.
set(CMAKE_SYSTEM_PROCESSOR aarch64)
set(DIALKIT_LINUX_TRIPLE aarch64-linux-gnu)
set(DIALKIT_DEBIAN_ARCHITECTURE arm64)
set(DIALKIT_QEMU qemu-aarch64)
include(${CMAKE_CURRENT_LIST_DIR}/linux-cross-common.cmake)
