// Puts the stand-in Remote Access Service, built beside this program, into the system directory of
// the Wine prefix the tests run in: the tool loads rasapi32.dll from the system directory only.
// CTest runs it before every test program that needs the service. Under Wine only: on Windows
// it would replace the system's own service.
#include <windows.h>

#include <filesystem>

// A copy that cannot be made throws, which ends the program with the error and both paths.
int main() {
  char program[MAX_PATH] = "";
  char system[MAX_PATH] = "";
  GetModuleFileNameA(nullptr, program, sizeof program);
  GetSystemDirectoryA(system, sizeof system);
  std::filesystem::copy_file(std::filesystem::path(program).parent_path() / "rasapi32.dll",
                             std::filesystem::path(system) / "rasapi32.dll",
                             std::filesystem::copy_options::overwrite_existing);
  return 0;
}
