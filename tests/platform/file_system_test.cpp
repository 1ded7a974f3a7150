// The file-system seam on both platforms, against real files in temporary directories.
#include "platform/directories.h"
#include "platform/file_replacement.h"
#include "platform/paths.h"
#include "platform/system_info.h"
#include "platform/whole_file.h"

#include <gtest/gtest.h>

#include <cstring>
#include <filesystem>
#include <iterator>
#include <string>

#include "support/test_environment.h"
#include "support/test_files.h"

namespace {

namespace fs = std::filesystem;

// The run asks for the drive of any directory it moves to; one without a drive letter (a
// network path, or any POSIX path) must be refused, not handed to the C runtime.
TEST(FileSystem, SetCurrentDriveRefusesNumbersThatNameNoDrive) {
  for (const int drive : {-17, 0, 27, '\\' - 'A' + 1}) {
    EXPECT_FALSE(SetCurrentDrive(drive)) << drive;
  }
}

// A path fits a buffer of exactly its size, or is refused; the system directory says what it needs.
TEST(FileSystem, PathsFitTheCallersBufferOrAreRefused) {
  const test::ScopedTempDirectory directory;
  const test::ScopedCurrentDirectory current(directory.path());
  fs::create_directory("folder");
  const std::string expected = (fs::current_path() / "name.ini").string();
  std::string buffer(expected.size() + 8, 'X');
  EXPECT_TRUE(FormFullPath(buffer.data(), expected.size() + 1, "./folder/../name.ini"));
  EXPECT_EQ(std::string(buffer.c_str()), expected);
  EXPECT_FALSE(FormFullPath(buffer.data(), expected.size(), "name.ini"));

  char path[1024];
  const size_t length = GetSystemDirectoryPath(path, sizeof path);
  ASSERT_GT(length, 0u);
  EXPECT_EQ(std::strlen(path), length);
  EXPECT_TRUE(fs::is_directory(path));
  EXPECT_EQ(GetSystemDirectoryPath(path, 4), length + 1);

  ASSERT_TRUE(GetExecutablePath(path, sizeof path));
  EXPECT_EQ(fs::path(path).stem(), "platform_tests");
  EXPECT_FALSE(GetExecutablePath(path, 4));
}

// The stand-in's phone book makes its folder and those above it; a file in the way is refused.
TEST(FileSystem, MakesEveryMissingFolderOrRefusesAFileInTheWay) {
  const test::ScopedTempDirectory directory;
  const std::string deep = directory.File("a/b/c");
  EXPECT_TRUE(MakeDirectories(deep));
  EXPECT_TRUE(MakeDirectories(deep));
  EXPECT_TRUE(fs::is_directory(deep));
  test::WriteFileBytes(directory.File("file"), "");
  EXPECT_FALSE(MakeDirectories(directory.File("file/d")));
}

// What a program reads whole (dialkit-check's file): exactly the bytes of a regular file, and at
// once a refusal of anything else, which could wait for a person or never end.
TEST(FileSystem, ReadsRegularFilesWholeAndRefusesEverythingElseAtOnce) {
  const test::ScopedTempDirectory directory;
  const std::string bytes("[RasEntry]\r\nA=\0\xff\rB\n", 18);
  test::WriteFileBytes(directory.File("file.ini"), bytes);
  std::string read = "stale";
  std::string problem;
  ASSERT_TRUE(ReadRegularFile(directory.File("file.ini").c_str(), &read, &problem)) << problem;
  EXPECT_EQ(read, bytes);

  // Devices: /dev/zero never ends, /dev/null and NUL read as empty, CON waits for a person. A FIFO
  // goes the way of the devices on POSIX (see the odd profile files of a whole run).
  const bool ours = test::CurrentPlatformUnderTest() == test::PlatformUnderTest::kOurs;
  for (const std::string& path :
       {directory.File("missing.ini"), directory.path().string(),
        std::string(ours ? "/dev/zero" : "NUL"), std::string(ours ? "/dev/null" : "CON")}) {
    SCOPED_TRACE(path);
    EXPECT_FALSE(ReadRegularFile(path.c_str(), &read, &problem));
    EXPECT_FALSE(problem.empty());
  }
}

ReplacementStep g_failingStep;

// Whichever step of a replacement fails (the temporary file cannot be made in a folder that cannot
// be written, nor written on a full disk, nor renamed), the old file stays exactly as it was and
// no temporary file is left beside it; once the rename is done, the new content stays.
TEST(ReplaceFileContents, AFailedStepLeavesTheOldFileWholeAndNoTemporaryFile) {
  const std::string old = "[Modem Selection]\r\nDeviceType=modem\r\n";
  for (const ReplacementStep step : {ReplacementStep::kCreateTemporary, ReplacementStep::kWrite,
                                     ReplacementStep::kRename, ReplacementStep::kReplaced}) {
    SCOPED_TRACE(static_cast<int>(step));
    test::ScopedTempDirectory folder;
    const std::string path = folder.File("dialkit.ini");
    test::WriteFileBytes(path, old);
    g_failingStep = step;
    g_replacementStepFilter = [](ReplacementStep next, const char*) {
      return next != g_failingStep;
    };
    EXPECT_EQ(ReplaceFileContents(path.c_str(), "new content"), step == ReplacementStep::kReplaced);
    EXPECT_EQ(test::ReadFileBytes(path), step == ReplacementStep::kReplaced ? "new content" : old);
    EXPECT_EQ(std::distance(fs::directory_iterator(folder.path()), {}), 1);  // no temporary file
  }
  g_replacementStepFilter = nullptr;
}

}  // namespace
