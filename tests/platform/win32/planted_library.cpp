// A tiny real library, built as loadertest.dll, that the tests copy to where no loader may look.
// Once loaded it leaves a file beside itself, named as itself with ".loaded" added, so that a
// test of another process can tell.
#include <windows.h>

#include <cstring>

BOOL WINAPI DllMain(HINSTANCE self, DWORD reason, LPVOID) {
  char path[MAX_PATH + 8] = "";
  if (reason == DLL_PROCESS_ATTACH && GetModuleFileNameA(self, path, MAX_PATH) < MAX_PATH) {
    CloseHandle(CreateFileA(std::strcat(path, ".loaded"), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS,
                            0, nullptr));
  }
  return TRUE;
}
