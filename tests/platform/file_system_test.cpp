// The file-system seam on both platforms, against real files in temporary directories.
#include "platform/file_system.h"

#include <gtest/gtest.h>

#include <cstring>
#include <filesystem>
#include <string>

#include "support/test_files.h"

namespace {

class FileSystemTest : public ::testing::Test {
 protected:
  FileSystemTest() : current_(directory_.path()) {}

  std::string Current() const { return std::filesystem::current_path().string(); }

  test::ScopedTempDirectory directory_;
  test::ScopedCurrentDirectory current_;
};

TEST_F(FileSystemTest, FormsFullPathsRelativeToCurrentDirectory) {
  std::filesystem::create_directory("sub");
  const struct {
    const char* name;
    std::string expected;
  } cases[] = {
      {"a.ini", (std::filesystem::current_path() / "a.ini").string()},
      {"sub/../b.ini", (std::filesystem::current_path() / "b.ini").string()},
      {"./sub/./c.ini", (std::filesystem::current_path() / "sub" / "c.ini").string()},
      {"", Current()},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.name);
    char path[340];
    ASSERT_TRUE(FormFullPath(path, sizeof path, c.name));
    EXPECT_EQ(path, c.expected);
  }
}

TEST_F(FileSystemTest, FullPathFailsWithoutTouchingBufferWhenTooLong) {
  const std::string expected = (std::filesystem::current_path() / "name.ini").string();
  std::string buffer(expected.size() + 8, 'X');
  // Exactly fitting, with its terminator.
  EXPECT_TRUE(FormFullPath(buffer.data(), expected.size() + 1, "name.ini"));
  EXPECT_EQ(std::string(buffer.c_str()), expected);
  // One byte short.
  buffer.assign(expected.size() + 8, 'X');
  EXPECT_FALSE(FormFullPath(buffer.data(), expected.size(), "name.ini"));
  EXPECT_EQ(buffer, std::string(expected.size() + 8, 'X'));
}

TEST_F(FileSystemTest, ExistenceCountsFilesAndDirectories) {
  test::WriteFileBytes(directory_.File("file.txt"), "x");
  std::filesystem::create_directory(directory_.path() / "folder");
  EXPECT_TRUE(PathExists(directory_.File("file.txt").c_str()));
  EXPECT_TRUE(PathExists(directory_.File("folder").c_str()));
  EXPECT_FALSE(PathExists(directory_.File("missing").c_str()));
}

TEST_F(FileSystemTest, ChangesCurrentDirectoryAndReadsItBack) {
  std::filesystem::create_directory("inner");
  char saved[260];
  ASSERT_TRUE(GetCurrentDirectoryPath(saved, sizeof saved));
  EXPECT_EQ(saved, Current());
  ASSERT_TRUE(SetCurrentDirectoryPath("inner"));
  EXPECT_EQ(std::filesystem::current_path(), directory_.path() / "inner");
  EXPECT_FALSE(SetCurrentDirectoryPath("missing"));
  ASSERT_TRUE(SetCurrentDirectoryPath(saved));
  char tooSmall[2];
  EXPECT_FALSE(GetCurrentDirectoryPath(tooSmall, sizeof tooSmall));
}

TEST_F(FileSystemTest, CreatesEmptyFileOnlyWhenNothingExists) {
  const std::string path = directory_.File("new.pbk");
  ASSERT_TRUE(CreateEmptyFileExclusively(path.c_str()));
  EXPECT_TRUE(std::filesystem::is_regular_file(path));
  EXPECT_EQ(std::filesystem::file_size(path), 0u);
  EXPECT_FALSE(CreateEmptyFileExclusively(path.c_str()));
  // It can be written afterwards: not made read-only.
  test::WriteFileBytes(path, "[entry]\n");
  EXPECT_EQ(test::ReadFileBytes(path), "[entry]\n");
  EXPECT_TRUE(DeleteFileAtPath(path.c_str()));
  EXPECT_FALSE(DeleteFileAtPath(path.c_str()));
}

TEST(SystemInformation, SystemDirectoryFollowsTheCapacityContract) {
  char directory[260];
  const size_t length = GetSystemDirectoryPath(directory, sizeof directory);
  ASSERT_GT(length, 0u);
  ASSERT_LT(length, sizeof directory);
  EXPECT_EQ(std::strlen(directory), length);
  EXPECT_TRUE(std::filesystem::is_directory(directory));
  char small[4];
  EXPECT_EQ(GetSystemDirectoryPath(small, sizeof small), length + 1);
}

TEST(SystemInformation, ExecutablePathNamesThisProgram) {
  char path[1024];
  ASSERT_TRUE(GetExecutablePath(path, sizeof path));
  EXPECT_EQ(std::filesystem::path(path).stem(), "platform_tests");
  char small[4];
  EXPECT_FALSE(GetExecutablePath(small, sizeof small));
  EXPECT_TRUE(IsNtFamilySystem());
}

}  // namespace
