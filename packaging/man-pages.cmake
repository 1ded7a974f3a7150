# Makes the manual pages at install time, so that they name the paths of the prefix the tool is
# installed under (/usr for the .deb, whatever `cmake --install --prefix` says otherwise), and
# compresses them as Debian's policy asks (gzip -9n: best, without a name or time, so the same
# pages give the same bytes). Run by install(SCRIPT) with the variables packaging/CMakeLists.txt
# sets before it.
set(prefix ${CMAKE_INSTALL_PREFIX})
set(FULL_BINDIR ${prefix}/${DIALKIT_BINDIR})
set(FULL_DOCDIR ${prefix}/${DIALKIT_DOCDIR})
set(FULL_LIBRARY_DIR ${prefix}/${DIALKIT_LIBRARY_DIR})
# GNU's rule for the configuration directory: /etc for the prefix /usr, PREFIX/etc otherwise.
if(prefix STREQUAL "/usr")
  set(FULL_SYSCONFDIR /etc)
else()
  set(FULL_SYSCONFDIR ${prefix}/etc)
endif()
# The same with a break point after each slash, for a path that stands as a paragraph's tag, so
# that a long prefix never gives a line that cannot be adjusted.
foreach(directory SYSCONFDIR LIBRARY_DIR DOCDIR)
  string(REPLACE "/" "/\\:" BREAKABLE_${directory} "${FULL_${directory}}")
endforeach()
set(PROJECT_VERSION ${DIALKIT_VERSION})
set(DIALKIT_INSTALLED_LIBRARIES_FROM_PROGRAM ${DIALKIT_LIBRARIES_FROM_PROGRAM})
find_program(GZIP gzip REQUIRED)
foreach(page dialkit.1 dialkit-check.1)
  configure_file(${DIALKIT_MAN_SOURCE}/${page}.in ${DIALKIT_MAN_BINARY}/${page} @ONLY)
  execute_process(COMMAND ${GZIP} -9nf ${DIALKIT_MAN_BINARY}/${page} COMMAND_ERROR_IS_FATAL ANY)
endforeach()
