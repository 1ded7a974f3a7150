// What only the POSIX build's profile component does: a write changes the person's file in place
// (Windows rewrites it in its own layout), replaces it atomically, refuses text that would corrupt
// it; and a file kept between reads is read anew when it changed. (The read fuzz target checks that
// a null file name means win.ini of the stand-in system; the write fuzz target that any other text
// that would not read back is refused.) Also what the tool hands to programs: text in UTF-8 (valid
// UTF-8 as it is, every other byte as Windows-1252), and no file written in a pipe's place.
#include <signal.h>
#include <sys/resource.h>
#include <sys/stat.h>

#include <gtest/gtest.h>

#include <chrono>
#include <filesystem>
#include <iterator>
#include <string>
#include <thread>
#include <utility>

#include "platform/file_replacement.h"
#include "platform/profile.h"
#include "platform/program_output.h"
#include "support/test_files.h"

namespace {

namespace fs = std::filesystem;

struct EditRow {
  const char* what = "";
  std::string before;
  std::string after;
  const char* section = "a";
  const char* key = "k";
  const char* value = "v";
  bool written = true;
};

// Text that would read back as other lines is refused: on Windows such a value would write lines
// of its own, and a device name could switch the library.
const std::string kKept = "[a]\r\nk=1\r\n";
const std::string kLong(1 << 20, 'v');

const EditRow kEdits[] = {
    {"a value is replaced in place, all else kept",
     "; settings\n[ Modem Selection ]\n\n  DeviceType = modem ; old\r\nDeviceName=x",
     "; settings\n[ Modem Selection ]\n\n  DeviceType = isdn\r\nDeviceName=x", "Modem Selection",
     "devicetype", "  isdn"},
    {"a new key follows the last key of its section", "[a]\r\nx=1\r\n; about b\r\n\r\n[b]\r\n",
     "[a]\r\nx=1\r\nk=v\r\n; about b\r\n\r\n[b]\r\n"},
    {"a new key follows a header without keys", "[a]\n; none yet\n\n[b]\n",
     "[a]\nk=v\n; none yet\n\n[b]\n"},
    {"a new section goes at the end, with the file's line ends", "[b]\nx=1\n\n",
     "[b]\nx=1\n\n[a]\nk=v\n"},
    {"CR line ends are kept", "[a]\rx=1\r", "[a]\rx=1\rk=v\r"},
    {"a file without a last line end stays so", "[b]\r\nx=1", "[b]\r\nx=1\r\n[a]\r\nk=v"},
    {"line ends in a value", kKept, kKept, "a", "k", "1\r\n[Libraries]\r\nUseAltras=1", false},
    // No line and no file is too long: the value is longer than the file is read at a time.
    {"a line of a MiB", "[a]\r\nlong=" + kLong + "\r\n[b]\r\n",
     "[a]\r\nlong=" + kLong + "\r\nk=v\r\n[b]\r\n"},
};

TEST(ProfileFile, EditsChangeOnlyWhatTheyConcern) {
  const test::ScopedTempDirectory directory;
  const std::string path = directory.File("person.ini");
  for (const EditRow& row : kEdits) {
    SCOPED_TRACE(row.what);
    test::WriteFileBytes(path, row.before);
    EXPECT_EQ(WritePrivateProfileStringA(row.section, row.key, row.value, path.c_str()) != 0,
              row.written);
    EXPECT_EQ(test::ReadFileBytes(path), row.after);
  }
  std::string value(kLong.size() + 1, '\0');
  value.resize(GetPrivateProfileStringA("a", "long", "", value.data(),
                                        static_cast<DWORD>(value.size()), path.c_str()));
  EXPECT_EQ(value, kLong);
}

// The file is replaced whole or not at all, through a link to it and with its permissions kept,
// and never in a pipe's place (a report sent to one, or to a device such as /dev/stdout).
TEST(ProfileFile, AFileIsReplacedWholeOrNotAtAll) {
  const test::ScopedTempDirectory directory;
  const std::string link = directory.File("person.ini");
  const std::string target = directory.File("real.ini");
  const std::string before = "[a]\r\nx=1\r\n";
  test::WriteFileBytes(target, before);
  fs::permissions(target, fs::perms(0640));
  fs::create_symlink("real.ini", link);

  // A limit on the size of files the process writes stands in for a full disk.
  rlimit previous;
  getrlimit(RLIMIT_FSIZE, &previous);
  rlimit full = previous;
  full.rlim_cur = before.size() + 8;
  const auto previousHandler = signal(SIGXFSZ, SIG_IGN);
  setrlimit(RLIMIT_FSIZE, &full);
  const BOOL written =
      WritePrivateProfileStringA("a", "x", std::string(4096, 'y').c_str(), link.c_str());
  setrlimit(RLIMIT_FSIZE, &previous);
  signal(SIGXFSZ, previousHandler);
  EXPECT_FALSE(written);
  EXPECT_EQ(test::ReadFileBytes(target), before);
  EXPECT_EQ(std::distance(fs::directory_iterator(directory.path()), {}), 2);

  ASSERT_TRUE(WritePrivateProfileStringA("a", "x", "2", link.c_str()));
  EXPECT_EQ(std::distance(fs::directory_iterator(directory.path()), {}), 2);
  EXPECT_TRUE(fs::is_symlink(link));
  EXPECT_EQ(test::ReadFileBytes(target), "[a]\r\nx=2\r\n");
  EXPECT_EQ(fs::status(target).permissions(), fs::perms(0640));

  ASSERT_EQ(mkfifo(directory.File("report.json").c_str(), 0600), 0);
  EXPECT_FALSE(ReplaceFileContents(directory.File("report.json").c_str(), "{}"));
  EXPECT_TRUE(fs::is_fifo(directory.path() / "report.json"));
}

// A file is kept from one read to the next; a change between them that keeps its size is read
// all the same. The first state is an hour old, as the files of a run are, or just written; then
// as on a file system whose clock moves in steps, a change within the step keeps the time, and
// the reads before it compared the bytes and found them the same.
TEST(ProfileFile, AChangeBetweenTwoReadsIsRead) {
  const test::ScopedTempDirectory directory;
  enum How { kInPlace, kRenamedIntoPlace, kRemoved };
  const struct {
    const char* what;
    bool justWritten;
    How how;
    const char* read;  // the new value
    bool utf16 = false;
    int nanosecondsLater = 0;
  } changes[] = {
      {"the same size, a time one nanosecond later", false, kInPlace, "2", false, 1},
      {"another file renamed into its place, with the same size and time", false, kRenamedIntoPlace,
       "3"},
      {"removed", false, kRemoved, "none"},
      {"just written, then the same size and time again", true, kInPlace, "4"},
      {"just written in UTF-16, then the same size and time again", true, kInPlace, "5", true},
  };
  for (const auto& c : changes) {
    SCOPED_TRACE(c.what);
    const auto file = [&](const std::string& value) {
      const std::string text = "[s]\nk=" + value + "\n";
      return c.utf16 ? test::Utf16(std::u16string(text.begin(), text.end())) : text;
    };
    const std::string path = directory.File(std::string(c.read) + ".ini");
    const auto first = fs::file_time_type::clock::now() - std::chrono::hours(c.justWritten ? 0 : 1);
    test::WriteFileBytes(path, file("1"));
    fs::last_write_time(path, first);
    char value[8];
    for (int i = 0; i < 2; ++i) {
      GetPrivateProfileStringA("s", "k", "none", value, sizeof value, path.c_str());
      ASSERT_STREQ(value, "1");
    }
    const std::string written = c.how == kRenamedIntoPlace ? path + ".new" : path;
    if (c.how == kRemoved) {
      fs::remove(path);
    } else {
      test::WriteFileBytes(written, file(c.read));
      fs::last_write_time(written, first + std::chrono::nanoseconds(c.nanosecondsLater));
      fs::rename(written, path);
    }
    GetPrivateProfileStringA("s", "k", "none", value, sizeof value, path.c_str());
    EXPECT_STREQ(value, c.read);
  }
}

// Two threads reading kept files at once (the thread sanitizer's build watches them).
TEST(ProfileFile, TwoThreadsReadAtOnce) {
  const test::ScopedTempDirectory directory;
  const std::string files[] = {directory.File("1.ini"), directory.File("2.ini")};
  for (int i = 0; i < 2; ++i) {
    test::WriteFileBytes(files[i], "[s]\nk=" + std::to_string(i + 1) + "\n");
    fs::last_write_time(files[i], fs::file_time_type::clock::now() - std::chrono::hours(1));
  }
  const auto read = [&] {
    for (unsigned i = 0; i < 200; ++i) {
      EXPECT_EQ(GetPrivateProfileIntA("s", "k", 0, files[i % 2].c_str()), i % 2 + 1);
    }
  };
  std::thread other(read);
  read();
  other.join();
}

TEST(ProgramOutput, TextIsUtf8AsItIsAndEveryOtherByteWindows1252) {
  const std::pair<const char*, const char*> rows[] = {
      {"Caf\xC3\xA9 \xE2\x82\xAC \xF0\x9F\x93\x9E", "Caf\xC3\xA9 \xE2\x82\xAC \xF0\x9F\x93\x9E"},
      {"Caf\xE9 \x80", "Caf\xC3\xA9 \xE2\x82\xAC"},
      {"\xC0\xAF", "\xC3\x80\xC2\xAF"},                  // an overlong slash
      {"\xED\xA0\x80", "\xC3\xAD\xC2\xA0\xE2\x82\xAC"},  // a surrogate
      {"\xE2\x82", "\xC3\xA2\xE2\x80\x9A"},              // cut short
      {"\x81\x9D", "\xC2\x81\xC2\x9D"},                  // undefined in the code page
  };
  for (const auto& [text, utf8] : rows) {
    EXPECT_EQ(TextInUtf8(text), utf8) << text;
  }
}

}  // namespace
