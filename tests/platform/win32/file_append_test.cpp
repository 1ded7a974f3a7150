// Both ways the log is appended to on Windows: with append access (NT family) and with write
// access and a move to the end (95 family, which grants no write through append access). Either
// way each line lands whole after what the file held, a missing file is made, and nothing is
// written through a second name of another file, nor is a report.
#include "platform/win32/file_append_win32.h"

#include <windows.h>

#include <gtest/gtest.h>

#include <string>

#include "platform/program_output.h"
#include "support/test_files.h"

namespace {

TEST(FileAppend, EachWayAppendsWholeLinesAtTheEnd) {
  for (const AppendAccess access : {AppendAccess::kAppendData, AppendAccess::kWriteAtEnd}) {
    SCOPED_TRACE(access == AppendAccess::kAppendData ? "append access" : "write access, at end");
    const test::ScopedTempDirectory directory;
    const std::string existing = directory.File("existing.log");
    test::WriteFileBytes(existing, "first\r\n");
    EXPECT_TRUE(AppendLineWithAccess(existing.c_str(), "second", access));
    EXPECT_TRUE(AppendLineWithAccess(existing.c_str(), "third", access));
    EXPECT_EQ(test::ReadFileBytes(existing), "first\r\nsecond\r\nthird\r\n");

    const std::string missing = directory.File("missing.log");
    EXPECT_TRUE(AppendLineWithAccess(missing.c_str(), "only", access));
    EXPECT_EQ(test::ReadFileBytes(missing), "only\r\n");

    // A second name, placed where the log is to be, of a file the tool's user may write.
    const std::string system = directory.File("system.ini");
    const std::string placed = directory.File("placed.log");
    test::WriteFileBytes(system, "[boot]\r\n");
    ASSERT_TRUE(CreateHardLinkA(placed.c_str(), system.c_str(), nullptr));
    EXPECT_FALSE(AppendLineWithAccess(placed.c_str(), "line", access));
    EXPECT_FALSE(WriteOutputFile(placed.c_str(), "{}"));
    EXPECT_EQ(test::ReadFileBytes(system), "[boot]\r\n");
  }
}

}  // namespace
