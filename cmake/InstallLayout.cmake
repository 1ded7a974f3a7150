# The installed layout of the host tool (packaging/CMakeLists.txt): GNU's directories under any
# prefix, and a library directory of the tool's own for the stand-in service.
include(GNUInstallDirs)
set(DIALKIT_INSTALL_LIBRARY_DIR ${CMAKE_INSTALL_LIBDIR}/dialkit)

# That library directory as the POSIX loader looks for it (src/platform): relative to the
# directory of the executable, so that an installed tree works under whatever prefix it was
# installed or unpacked to.
cmake_path(ABSOLUTE_PATH DIALKIT_INSTALL_LIBRARY_DIR BASE_DIRECTORY ${CMAKE_INSTALL_PREFIX}
           OUTPUT_VARIABLE libraries)
file(RELATIVE_PATH DIALKIT_INSTALLED_LIBRARIES_FROM_PROGRAM ${CMAKE_INSTALL_FULL_BINDIR}
     ${libraries})
