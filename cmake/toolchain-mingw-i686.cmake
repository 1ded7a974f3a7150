# Cross-build for 32-bit Windows. Nothing 32-bit can execute on our build machines, so this
# build proves that everything compiles and that the record layouts hold; it runs no tests.
set(CMAKE_SYSTEM_PROCESSOR i686)
set(DIALKIT_MINGW_TRIPLE i686-w64-mingw32)
# The oldest Windows the programs are for: 2000 (NT 5.0). Their headers keep 4.0, what the
# loaders of the 95 family and NT 4 accept: those systems are not promised, but nothing in the
# header, only a missing function, would stop them.
set(DIALKIT_OLDEST_WINDOWS 5.0)
set(DIALKIT_PE_VERSION 4.0)
include(${CMAKE_CURRENT_LIST_DIR}/mingw-common.cmake)
