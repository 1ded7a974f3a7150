# Shared part of the two MinGW-w64 toolchain files: the compilers of the `win32` thread model and
# the cross root for find_* calls. The `posix` thread model would link the POSIX threads runtime
# into every program, and with it functions that older Windows lacks; the tool has one thread of
# its own and needs none of it. What has threads here (the stand-in service, some tests) uses the
# framework's own thread and lock, which are the platform's.
set(CMAKE_SYSTEM_NAME Windows)
set(CMAKE_C_COMPILER ${DIALKIT_MINGW_TRIPLE}-gcc-win32)
set(CMAKE_CXX_COMPILER ${DIALKIT_MINGW_TRIPLE}-g++-win32)
set(CMAKE_RC_COMPILER ${DIALKIT_MINGW_TRIPLE}-windres)
set(CMAKE_FIND_ROOT_PATH /usr/${DIALKIT_MINGW_TRIPLE})
set(CMAKE_FIND_ROOT_PATH_MODE_PROGRAM NEVER)
set(CMAKE_FIND_ROOT_PATH_MODE_LIBRARY ONLY)
set(CMAKE_FIND_ROOT_PATH_MODE_INCLUDE ONLY)
set(CMAKE_FIND_ROOT_PATH_MODE_PACKAGE ONLY)

# Each toolchain file names two Windows versions (NT major.minor). DIALKIT_OLDEST_WINDOWS is the
# oldest system the programs are for: the tool's sources see only its functions (_WIN32_WINNT,
# src/CMakeLists.txt). DIALKIT_PE_VERSION goes into every program's header as its OS and
# subsystem version, which a loader refuses when it is newer than the loader's own system; it is
# written here so that no change of the linker's default can move it.
string(REPLACE "." ";" DIALKIT_PE_VERSION_PARTS ${DIALKIT_PE_VERSION})
list(GET DIALKIT_PE_VERSION_PARTS 0 major)
list(GET DIALKIT_PE_VERSION_PARTS 1 minor)
string(CONCAT CMAKE_EXE_LINKER_FLAGS_INIT
  "-Wl,--major-os-version,${major},--minor-os-version,${minor}"
  ",--major-subsystem-version,${major},--minor-subsystem-version,${minor}")
