// A tiny real library, built as loadertest.dll, that the tests copy to where no loader may look.
// Once loaded it leaves a file beside itself, named as itself with ".loaded" added, so that a
// test of another process can tell that it was loaded.
#include <windows.h>

#include <cstring>

extern "C" __declspec(dllexport) int WINAPI PlantedLibraryAnswer() {
  return 42;
}

BOOL WINAPI DllMain(HINSTANCE self, DWORD reason, LPVOID) {
  char path[MAX_PATH + 8] = "";
  const DWORD length = GetModuleFileNameA(self, path, MAX_PATH);
  if (reason == DLL_PROCESS_ATTACH && length > 0 && length < MAX_PATH) {
    std::strcat(path, ".loaded");
    CloseHandle(CreateFileA(path, GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, 0, nullptr));
  }
  return TRUE;
}
