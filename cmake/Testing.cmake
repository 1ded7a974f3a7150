# GoogleTest: the system package on the host; for Windows, Debian's sources compiled with the
# cross compiler (there is no cross-built package).
if(CMAKE_CROSSCOMPILING)
  set(DIALKIT_GOOGLETEST_SOURCE /usr/src/googletest CACHE PATH "GoogleTest sources for cross builds")
  set(INSTALL_GTEST OFF CACHE BOOL "" FORCE)
  add_subdirectory(${DIALKIT_GOOGLETEST_SOURCE} ${CMAKE_BINARY_DIR}/googletest EXCLUDE_FROM_ALL SYSTEM)
  if(NOT TARGET GTest::gtest)
    add_library(GTest::gtest ALIAS gtest)
    add_library(GTest::gmock ALIAS gmock)
  endif()
  # GoogleTest's adjustments for the MinGW-w64 compilers' standard library (see the header there).
  if(WIN32)
    foreach(library gtest gmock)
      target_include_directories(${library} BEFORE PUBLIC
                                 ${PROJECT_SOURCE_DIR}/tests/support/googletest)
    endforeach()
  endif()
else()
  find_package(GTest REQUIRED)
endif()
include(GoogleTest)

# dialkit_add_test(<name> SOURCES ... LIBRARIES ... [PROPERTIES ...])
# One test program per subsystem. On the host every test case becomes its own CTest test; under
# an emulator (Wine, qemu-user) a program is one CTest test, because each start costs an emulator
# process. PROPERTIES are set on each of those tests. A cross build without an emulator (32-bit
# Windows) builds its tests but cannot run them. Every test has a time limit, so that one that
# hangs fails and is named. Under qemu-user a program the tests start is the build's too, which
# only the emulator can run (no binfmt here): the tests start it through DIALKIT_TEST_WRAPPER.
function(dialkit_add_test name)
  cmake_parse_arguments(ARG "" "" "SOURCES;LIBRARIES;PROPERTIES" ${ARGN})
  add_executable(${name} ${ARG_SOURCES})
  target_link_libraries(${name} PRIVATE ${ARG_LIBRARIES} dialkit_test_support GTest::gmock)
  target_include_directories(${name} PRIVATE ${PROJECT_SOURCE_DIR}/src)
  if(NOT CMAKE_CROSSCOMPILING)
    gtest_discover_tests(${name} DISCOVERY_TIMEOUT 60 PROPERTIES ${ARG_PROPERTIES})
  elseif(CMAKE_CROSSCOMPILING_EMULATOR)
    # A whole program of cases is one test here, so it gets longer than the presets' 120 s a
    # case.
    add_test(NAME ${name} COMMAND ${name})
    set_tests_properties(${name} PROPERTIES TIMEOUT 900 ${ARG_PROPERTIES})
    if(NOT WIN32)
      list(JOIN CMAKE_CROSSCOMPILING_EMULATOR " " wrapper)
      set_tests_properties(${name} PROPERTIES ENVIRONMENT "DIALKIT_TEST_WRAPPER=${wrapper}")
      # What qemu-user cannot show (a limit on the address space) is skipped, and says so.
      target_compile_definitions(${name} PRIVATE DIALKIT_TESTS_EMULATED)
    endif()
  endif()
endfunction()

# dialkit_test_uses_stand_in(<test program>)
# The program loads the stand-in Remote Access Service. On POSIX it lies beside the program; on
# Windows the tool takes rasapi32.dll from the system directory only, so under Wine the stand-in
# is put into the prefix's system directory first (the fixture stand_in_service, see
# tests/support), and must be preferred to Wine's own built-in rasapi32.
function(dialkit_test_uses_stand_in name)
  add_dependencies(${name} dialkit_stand_in_rasapi32 dialkit_stand_in_altras)
  if(WIN32 AND CMAKE_CROSSCOMPILING_EMULATOR)
    set_tests_properties(${name} PROPERTIES ENVIRONMENT "WINEDLLOVERRIDES=rasapi32=n"
                                            FIXTURES_REQUIRED stand_in_service)
  endif()
endfunction()
