// A library for the loader's own test: one entry point with a known answer.
#include "platform_types.h"  // WINAPI

extern "C" {
#ifdef _WIN32
__declspec(dllexport)
#endif
    int WINAPI LoaderTestAnswer() {
  return 42;
}
}
