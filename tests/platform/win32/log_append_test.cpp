// Both ways the log is appended to on Windows: with append access (NT family) and with write
// access and a move to the end (95 family, which grants no write through append access). Either
// way each line lands whole after what the file held, a missing file is made, and nothing is
// written through a second name of another file, nor is a report.
#include "platform/win32/log_append_win32.h"

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
    const test::ScopedCurrentDirectory current(directory.path());
    test::WriteFileBytes("existing.log", "first\r\n");
    EXPECT_TRUE(AppendLineWithAccess("existing.log", "second", access));
    EXPECT_TRUE(AppendLineWithAccess("existing.log", "third", access));
    EXPECT_EQ(test::ReadFileBytes("existing.log"), "first\r\nsecond\r\nthird\r\n");

    EXPECT_TRUE(AppendLineWithAccess("missing.log", "only", access));
    EXPECT_EQ(test::ReadFileBytes("missing.log"), "only\r\n");

    // A second name, placed where the log is to be, of a file the tool's user may write.
    test::WriteFileBytes("system.ini", "[boot]\r\n");
    ASSERT_TRUE(CreateHardLinkA("placed.log", "system.ini", nullptr));
    EXPECT_FALSE(AppendLineWithAccess("placed.log", "line", access));
    EXPECT_FALSE(WriteOutputFile("placed.log", "{}"));
    EXPECT_EQ(test::ReadFileBytes("system.ini"), "[boot]\r\n");
  }
}

}  // namespace
