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
