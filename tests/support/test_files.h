// Files and directories for tests: every test works in directories of its own, made fresh and
// removed afterwards, never in the user's home or the real system.
#pragma once

#include <filesystem>
#include <fstream>
#include <random>
#include <sstream>
#include <string>
#include <string_view>
#include <system_error>

namespace test {

// A new, empty directory under the system's temporary directory, removed with its content.
class ScopedTempDirectory {
 public:
  ScopedTempDirectory() {
    std::random_device random;
    do {
      path_ = std::filesystem::temp_directory_path() / ("dialkit-test-" + std::to_string(random()));
    } while (!std::filesystem::create_directory(path_));
  }
  ~ScopedTempDirectory() {
    std::error_code ignored;
    std::filesystem::remove_all(path_, ignored);
  }
  ScopedTempDirectory(const ScopedTempDirectory&) = delete;
  ScopedTempDirectory& operator=(const ScopedTempDirectory&) = delete;

  const std::filesystem::path& path() const { return path_; }
  // The full path of `name` inside the directory, as a platform path text.
  std::string File(const std::string& name) const { return (path_ / name).string(); }

 private:
  std::filesystem::path path_;
};

// Makes `directory` the current directory, and the earlier one current again at the end.
class ScopedCurrentDirectory {
 public:
  explicit ScopedCurrentDirectory(const std::filesystem::path& directory)
      : previous_(std::filesystem::current_path()) {
    std::filesystem::current_path(directory);
  }
  ~ScopedCurrentDirectory() {
    std::error_code ignored;
    std::filesystem::current_path(previous_, ignored);
  }
  ScopedCurrentDirectory(const ScopedCurrentDirectory&) = delete;
  ScopedCurrentDirectory& operator=(const ScopedCurrentDirectory&) = delete;

 private:
  std::filesystem::path previous_;
};

// Writes the bytes as they are (no line-end translation), replacing any earlier file.
inline void WriteFileBytes(const std::string& path, const std::string& bytes) {
  std::ofstream(path, std::ios::binary | std::ios::trunc) << bytes;
}

// The file's bytes; empty when it cannot be read.
inline std::string ReadFileBytes(const std::string& path) {
  std::ostringstream bytes;
  bytes << std::ifstream(path, std::ios::binary).rdbuf();
  return bytes.str();
}

// A file of UTF-16 text, little- or big-endian, with its byte-order mark unless told otherwise.
inline std::string Utf16(std::u16string_view text, bool littleEndian = true, bool mark = true) {
  std::string bytes = mark ? (littleEndian ? "\xFF\xFE" : "\xFE\xFF") : "";
  for (const char16_t unit : text) {
    const char low = static_cast<char>(unit & 0xFF);
    const char high = static_cast<char>(unit >> 8);
    bytes += littleEndian ? std::string{low, high} : std::string{high, low};
  }
  return bytes;
}

}  // namespace test
