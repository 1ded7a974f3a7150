# Cross-build for 32-bit Windows. Its tests run under Wine's 32-bit loader (Debian's wine32, from
# the i386 architecture) in a 32-bit prefix: tools/with-wine --arch win32.
set(CMAKE_SYSTEM_PROCESSOR i686)
set(DIALKIT_MINGW_TRIPLE i686-w64-mingw32)
# The oldest Windows the programs are for: 2000 (NT 5.0). Their headers keep 4.0, what the
# loaders of the 95 family and NT 4 accept: those systems are not promised, but nothing in the
# header, only a missing function, would stop them.
set(DIALKIT_OLDEST_WINDOWS 5.0)
set(DIALKIT_PE_VERSION 4.0)
include(${CMAKE_CURRENT_LIST_DIR}/mingw-common.cmake)
set(CMAKE_CROSSCOMPILING_EMULATOR /usr/lib/wine/wine)
