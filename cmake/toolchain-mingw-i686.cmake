# Cross-build for 32-bit Windows. Nothing 32-bit can execute on our build machines, so this
# build proves that everything compiles and that the record layouts hold; it runs no tests.
set(CMAKE_SYSTEM_PROCESSOR i686)
set(DIALKIT_MINGW_TRIPLE i686-w64-mingw32)
include(${CMAKE_CURRENT_LIST_DIR}/mingw-common.cmake)
