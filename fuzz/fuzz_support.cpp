// The fuzz targets' scratch folder and checks.
#include "fuzz_support.h"

#include <unistd.h>

#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <iterator>

namespace fs = std::filesystem;

namespace {

void RemoveScratchFolder() {
  std::error_code ignored;
  fs::remove_all(ScratchFolder(), ignored);
}

}  // namespace

const std::string& ScratchFolder() {
  static const std::string folder = [] {
    const fs::path base =
        fs::is_directory("/dev/shm") ? fs::path("/dev/shm") : fs::temp_directory_path();
    const fs::path made = base / ("dialkit-fuzz." + std::to_string(getpid()));
    fs::create_directories(made);
    return made.string();
  }();
  // Registered after the name, so that it runs while the name still exists.
  static const int removal = std::atexit(RemoveScratchFolder);
  static_cast<void>(removal);
  return folder;
}

std::string WriteScratchFile(const char* name, std::string_view bytes) {
  const std::string path = ScratchFolder() + "/" + name;
  std::ofstream file(path, std::ios::binary | std::ios::trunc);
  file.write(bytes.data(), static_cast<std::streamsize>(bytes.size()));
  FUZZ_CHECK(file.good());
  return path;
}

std::string ReadWholeFile(const std::string& path) {
  std::ifstream file(path, std::ios::binary);
  return std::string(std::istreambuf_iterator<char>(file), std::istreambuf_iterator<char>());
}

void FailCheck(const char* condition, const char* file, int line) {
  std::fprintf(stderr, "%s:%d: check failed: %s\n", file, line, condition);
  std::abort();
}
