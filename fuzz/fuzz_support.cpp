// The fuzz targets' scratch folder and checks.
#include "fuzz_support.h"

#include <unistd.h>

#include <algorithm>
#include <cstddef>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>

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

#define DIALKIT_TEXT_FIELD(member) \
  { offsetof(RASENTRYA, member), sizeof(RASENTRYA::member) }

bool TextFieldsEnd(const RASENTRYA& entry, bool zerosAfter) {
  constexpr std::pair<size_t, size_t> kTextFields[] = {
      DIALKIT_TEXT_FIELD(szAreaCode),     DIALKIT_TEXT_FIELD(szLocalPhoneNumber),
      DIALKIT_TEXT_FIELD(szScript),       DIALKIT_TEXT_FIELD(szAutodialDll),
      DIALKIT_TEXT_FIELD(szAutodialFunc), DIALKIT_TEXT_FIELD(szDeviceType),
      DIALKIT_TEXT_FIELD(szDeviceName),   DIALKIT_TEXT_FIELD(szX25PadType),
      DIALKIT_TEXT_FIELD(szX25Address),   DIALKIT_TEXT_FIELD(szX25Facilities),
      DIALKIT_TEXT_FIELD(szX25UserData),
  };
  const auto* bytes = reinterpret_cast<const char*>(&entry);
  return std::all_of(std::begin(kTextFields), std::end(kTextFields), [&](const auto& field) {
    const char* text = bytes + field.first;
    const char* end = std::find(text, text + field.second, '\0');
    return end != text + field.second &&
           (!zerosAfter || std::all_of(end, text + field.second, [](char c) { return c == 0; }));
  });
}

void FailCheck(const char* condition, const char* file, int line) {
  std::fprintf(stderr, "%s:%d: check failed: %s\n", file, line, condition);
  std::abort();
}
