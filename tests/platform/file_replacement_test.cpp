// Replacing a file whole, on both platforms: whichever step fails (a folder that cannot be
// written, a full disk, a disk error, a refused rename), the old file stays exactly as it was and
// no temporary file is left beside it; once the rename is done, the new content stays.
#include "platform/file_replacement.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <string>
#include <vector>

#include "support/test_files.h"

namespace {

ReplacementStep g_failingStep;

bool FailOneStep(ReplacementStep step, const char*) {
  return step != g_failingStep;
}

std::vector<std::string> Names(const test::ScopedTempDirectory& folder) {
  std::vector<std::string> names;
  for (const auto& entry : std::filesystem::directory_iterator(folder.path())) {
    names.push_back(entry.path().filename().string());
  }
  return names;
}

TEST(ReplaceFileContents, AFailedStepLeavesTheOldFileWholeAndNoTemporaryFile) {
  const struct {
    const char* what;
    ReplacementStep step;
    bool replaced;
  } cases[] = {
      {"a folder that cannot be written", ReplacementStep::kCreateTemporary, false},
      {"a full disk", ReplacementStep::kWrite, false},
      {"a disk that fails to flush", ReplacementStep::kFlush, false},
      {"a refused rename", ReplacementStep::kRename, false},
      {"nothing fails after the rename", ReplacementStep::kReplaced, true},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.what);
    test::ScopedTempDirectory folder;
    const std::string path = folder.File("dialkit.ini");
    test::WriteFileBytes(path, "[Modem Selection]\r\nDeviceType=modem\r\n");
    g_failingStep = c.step;
    g_replacementStepFilter = FailOneStep;
    const bool replaced = ReplaceFileContents(path.c_str(), "new content");
    g_replacementStepFilter = nullptr;
    EXPECT_EQ(replaced, c.replaced);
    EXPECT_EQ(test::ReadFileBytes(path),
              c.replaced ? "new content" : "[Modem Selection]\r\nDeviceType=modem\r\n");
    EXPECT_EQ(Names(folder), std::vector<std::string>{"dialkit.ini"});
  }
}

}  // namespace
