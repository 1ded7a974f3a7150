// A tiny real library, built as loadertest.dll, that the loader's test copies to where the loader
// must not look.
#include <windows.h>

extern "C" __declspec(dllexport) int WINAPI PlantedLibraryAnswer() {
  return 42;
}
