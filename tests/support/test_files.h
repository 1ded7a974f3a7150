// Files and directories for tests: every test works in directories of its own, made fresh and
// removed afterwards, never in the user's home or the real system.
#pragma once

#include <filesystem>
#include <string>

namespace test {

// A new, empty directory under the system's temporary directory, removed with its content.
class ScopedTempDirectory {
 public:
  ScopedTempDirectory();
  ~ScopedTempDirectory();
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
  explicit ScopedCurrentDirectory(const std::filesystem::path& directory);
  ~ScopedCurrentDirectory();
  ScopedCurrentDirectory(const ScopedCurrentDirectory&) = delete;
  ScopedCurrentDirectory& operator=(const ScopedCurrentDirectory&) = delete;

 private:
  std::filesystem::path previous_;
};

// Writes the bytes as they are (no line-end translation), replacing any earlier file.
void WriteFileBytes(const std::string& path, const std::string& bytes);

// The file's bytes; empty when it cannot be read.
std::string ReadFileBytes(const std::string& path);

}  // namespace test
