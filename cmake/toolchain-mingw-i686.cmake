# Cross-build for 32-bit Windows. Its tests run under Wine's 32-bit loader (Debian's wine32, from
# the i386 architecture) in a 32-bit prefix: tools/with-wine --arch win32.
set(CMAKE_SYSTEM_PROCESSOR i686)
set(DIALKIT_MINGW_TRIPLE i686-w64-mingw32)
# The programs are for Windows 95 (with msvcrt.dll), 98, ME and NT 4.0 as well as 2000 and later:
# their headers say 4.0, what those loaders accept. The sources are compiled with the declarations
# of Windows 2000 (NT 5.0), so that the multi-monitor functions they find at run time have their
# types; tools/check-windows-imports makes sure that nothing the older systems lack is imported.
set(DIALKIT_OLDEST_WINDOWS 5.0)
set(DIALKIT_PE_VERSION 4.0)
# Those systems run on the 80486 (Windows 95 names a 386, whose missing instructions GCC's code
# for the 486 uses): everything the project compiles is for it, and the shipped programs hold no
# instruction that it lacks (tools/check-instructions).
set(CMAKE_C_FLAGS_INIT "-march=i486")
set(CMAKE_CXX_FLAGS_INIT "-march=i486")
include(${CMAKE_CURRENT_LIST_DIR}/mingw-common.cmake)
set(CMAKE_CROSSCOMPILING_EMULATOR /usr/lib/wine/wine)
