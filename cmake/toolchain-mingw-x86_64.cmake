# Cross-build for 64-bit Windows. Test programs run under wine64, so plain ctest works.
set(CMAKE_SYSTEM_PROCESSOR x86_64)
set(DIALKIT_MINGW_TRIPLE x86_64-w64-mingw32)
# The oldest Windows the programs are for, and the first 64-bit one: XP x64 and Server 2003 x64
# (NT 5.2).
set(DIALKIT_OLDEST_WINDOWS 5.2)
set(DIALKIT_PE_VERSION 5.2)
include(${CMAKE_CURRENT_LIST_DIR}/mingw-common.cmake)
set(CMAKE_CROSSCOMPILING_EMULATOR /usr/lib/wine/wine64)
