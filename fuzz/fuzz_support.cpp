// The fuzz targets' scratch folder and checks.
#include "fuzz_support.h"

#include <unistd.h>

#include <algorithm>
#include <cstddef>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>

#include "entry/record_fields.h"

namespace fs = std::filesystem;

const std::string& ScratchFolder() {
  static const std::string folder = [] {
    const fs::path base =
        fs::is_directory("/dev/shm") ? fs::path("/dev/shm") : fs::temp_directory_path();
    const fs::path made = base / ("dialkit-fuzz." + std::to_string(getpid()));
    fs::create_directories(made);
    return made.string();
  }();
  // Registered after the name, so that it runs while the name still exists.
  [[maybe_unused]] static const int removal = std::atexit([] {
    std::error_code ignored;
    fs::remove_all(ScratchFolder(), ignored);
  });
  return folder;
}

std::string WriteScratchFile(const char* name, std::string_view bytes) {
  const std::string path = ScratchFolder() + "/" + name;
  std::ofstream file(path, std::ios::binary | std::ios::trunc);
  file.write(bytes.data(), static_cast<std::streamsize>(bytes.size()));
  FUZZ_CHECK(file.good());
  return path;
}

bool TextFieldsEnd(const RASENTRYA& entry, bool zerosAfter) {
  const auto ends = [zerosAfter](const char* text, size_t width) {
    const char* end = std::find(text, text + width, '\0');
    return end != text + width &&
           (!zerosAfter || std::all_of(end, text + width, [](char c) { return c == 0; }));
  };
  const auto* bytes = reinterpret_cast<const char*>(&entry);
  return std::all_of(
      std::begin(kRecordFields), std::end(kRecordFields), [&](const RecordField& field) {
        return field.kind != FieldKind::kText || ends(bytes + field.offset, field.width);
      });
}

void FailCheck(const char* condition, const char* file, int line) {
  std::fprintf(stderr, "%s:%d: check failed: %s\n", file, line, condition);
  std::abort();
}
