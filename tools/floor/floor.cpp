// The floor that tools/count-instructions sets the tool's run against: the least that any
// dynamically linked C++ program doing the tool's kind of work pays for. It builds one
// std::string, loads one shared library and reads one line of a file; it is built with -O2, as
// the tool's optimised build is.
//   floor LIBRARY FILE
#include <dlfcn.h>

#include <cstdio>
#include <string>

int main(int argc, char** argv) {
  if (argc != 3) {
    return 2;
  }
  const std::string path = argv[2];
  void* library = dlopen(argv[1], RTLD_NOW | RTLD_LOCAL);
  std::FILE* file = std::fopen(path.c_str(), "r");
  char line[256] = "";
  const bool read = file != nullptr && std::fgets(line, sizeof line, file) != nullptr;
  if (file != nullptr) {
    std::fclose(file);
  }
  return library != nullptr && read ? 0 : 1;
}
