// Puts the stand-in Remote Access Service, built beside this program, into the system directory of
// the Wine prefix the tests run in: the tool loads rasapi32.dll from the system directory only.
// CTest runs it before every test program that needs the service. Under Wine only: on Windows
// it would replace the system's own service.
#include <windows.h>

#include <cstdio>
#include <cstring>
#include <string>

int main() {
  char program[MAX_PATH] = "";
  char system[MAX_PATH] = "";
  const DWORD length = GetModuleFileNameA(nullptr, program, sizeof program);
  if (length == 0 || length >= sizeof program || GetSystemDirectoryA(system, sizeof system) == 0) {
    std::fputs("no path for the program or the system directory\n", stderr);
    return 1;
  }
  const std::string source = std::string(program, std::strrchr(program, '\\') + 1) + "rasapi32.dll";
  const std::string target = std::string(system) + "\\rasapi32.dll";
  if (!CopyFileA(source.c_str(), target.c_str(), FALSE)) {
    std::fprintf(stderr, "cannot copy %s to %s: error %lu\n", source.c_str(), target.c_str(),
                 GetLastError());
    return 1;
  }
  return 0;
}
