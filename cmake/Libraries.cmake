# dialkit_name_platform_library(<target> <file name>)
# Names a loadable library the way the platform loader looks for it: "rasapi32.dll" on Windows,
# "rasapi32.dll.so" on POSIX (see src/platform/posix/library_loader_posix.cpp). On 32-bit Windows
# exported stdcall functions keep their plain names, as the platform's own libraries export them.
function(dialkit_name_platform_library target fileName)
  string(REGEX REPLACE "\\.dll$" "" stem ${fileName})
  if(WIN32)
    set_target_properties(${target} PROPERTIES PREFIX "" OUTPUT_NAME ${stem} SUFFIX ".dll")
    target_link_options(${target} PRIVATE -Wl,--kill-at)
  else()
    set_target_properties(${target} PROPERTIES PREFIX "" OUTPUT_NAME ${fileName} SUFFIX ".so")
  endif()
endfunction()

# dialkit_build_shipped_programs()
# For the folder of code that goes into the shipped Windows programs (the tool and dialkit-check).
# Its sources see only the functions of the oldest Windows the programs are for
# (cmake/mingw-common.cmake): anything newer must be looked up at run time. And the programs are
# downloaded over the modems they configure and embedded in other people's installers, so they
# are built for size:
# - they throw and catch nothing (results are plain integers), so they are compiled without
#   exceptions and carry no exception machinery (see framework/win32/program_runtime_win32.cpp);
# - optimised builds optimise for size: the programs wait on the user, the service or the disk,
#   never on their own code;
# - the 32-bit programs have no unwind tables: on 32-bit Windows only C++ exceptions read them.
#   The 64-bit programs keep their own, which the system needs to unwind their frames.
# And they are reproducible: the same commit gives the same bytes wherever it is built, so that
# anyone can check a released program against its source. The linker writes no time stamp into
# the header (the resource compiler writes none either), and no path of the source or the build
# folder is kept (debug information, __FILE__).
# Elsewhere (the host, the stand-in service, the tests) it does nothing.
function(dialkit_build_shipped_programs)
  if(NOT WIN32)
    return()
  endif()
  string(REPLACE "." "0" oldest_windows ${DIALKIT_OLDEST_WINDOWS})
  add_compile_definitions(_WIN32_WINNT=0x0${oldest_windows})
  add_compile_options(-fno-exceptions $<$<CONFIG:Release,MinSizeRel>:-Os>
                      -ffile-prefix-map=${PROJECT_SOURCE_DIR}/=
                      -ffile-prefix-map=${PROJECT_BINARY_DIR}/=)
  add_link_options(-Wl,--no-insert-timestamp)
  if(CMAKE_SIZEOF_VOID_P EQUAL 4)
    add_compile_options(-fno-asynchronous-unwind-tables)
  endif()
endfunction()
