// What only the POSIX build's profile component does: a write changes the person's file in place
// (Windows rewrites it in its own layout), replaces it atomically, refuses text that would corrupt
// it, and a null file name means win.ini of the stand-in system.
#include <signal.h>
#include <sys/resource.h>
#include <sys/stat.h>
#include <unistd.h>

#include <gtest/gtest.h>

#include <filesystem>
#include <string>
#include <string_view>
#include <vector>

#include "platform/posix/stand_in_system.h"
#include "platform/profile.h"
#include "support/test_files.h"

namespace {

using namespace std::string_view_literals;

class ProfileFile : public ::testing::Test {
 protected:
  std::string Path() const { return directory_.File("person.ini"); }

  // Everything in the directory: a temporary file left behind would show here.
  std::vector<std::string> DirectoryContent() const {
    std::vector<std::string> names;
    for (const auto& entry : std::filesystem::directory_iterator(directory_.path())) {
      names.push_back(entry.path().filename().string());
    }
    return names;
  }

  test::ScopedTempDirectory directory_;
};

struct EditRow {
  const char* what;
  std::string_view before;
  const char* section;
  const char* key;
  const char* value;  // null: delete the key, or with a null key the section
  std::string_view after;
};

const EditRow kEdits[] = {
    {"a value is replaced in place, all else kept",
     "; settings\n[ Modem Selection ]\n\n  DeviceType = modem ; old\r\nDeviceName=x",
     "Modem Selection", "devicetype", "  isdn",
     "; settings\n[ Modem Selection ]\n\n  DeviceType = isdn\r\nDeviceName=x"},
    {"a key without '=' gets one", "[s]\nk  \n", "s", "k", "v", "[s]\nk=v\n"},
    {"a new key follows the last key of its section",
     "[a]\r\nx=1\r\n; about b\r\n\r\n[b]\r\ny=2\r\n", "a", "k", "v",
     "[a]\r\nx=1\r\nk=v\r\n; about b\r\n\r\n[b]\r\ny=2\r\n"},
    {"a new key follows a header without keys", "[a]\n; none yet\n\n[b]\n", "a", "k", "v",
     "[a]\nk=v\n; none yet\n\n[b]\n"},
    {"a new section goes at the end, with the file's line ends", "[a]\nx=1\n\n", "b", "k", "v",
     "[a]\nx=1\n\n[b]\nk=v\n"},
    {"CR line ends are kept", "[a]\rx=1\r", "a", "k", "v", "[a]\rx=1\rk=v\r"},
    {"a file without a last line end stays so", "[a]\r\nx=1", "b", "k", "v",
     "[a]\r\nx=1\r\n[b]\r\nk=v"},
    {"a byte order mark stays", "\xEF\xBB\xBF[a]\r\n", "a", "k", "v", "\xEF\xBB\xBF[a]\r\nk=v\r\n"},
    {"only the first of duplicate keys changes", "[a]\nk=1\nk=2\n", "a", "K", "v",
     "[a]\nk=v\nk=2\n"},
    {"a key is deleted with its line alone", "[a]\n; c\nx=1\ny=2\n", "a", "x", nullptr,
     "[a]\n; c\ny=2\n"},
    {"a section is deleted up to the next header", "; top\n[a]\nx=1\n\n[b]\ny=2\n", "a", nullptr,
     nullptr, "; top\n[b]\ny=2\n"},
};

TEST_F(ProfileFile, EditsChangeOnlyWhatTheyConcern) {
  for (const EditRow& row : kEdits) {
    SCOPED_TRACE(row.what);
    test::WriteFileBytes(Path(), std::string(row.before));
    EXPECT_TRUE(WritePrivateProfileStringA(row.section, row.key, row.value, Path().c_str()));
    EXPECT_EQ(test::ReadFileBytes(Path()), row.after);
  }
}

// On Windows such a value would write lines of its own: a device name could switch the library.
TEST_F(ProfileFile, RefusesTextThatWouldReadBackAsOtherLines) {
  const struct {
    const char* section;
    const char* key;
    const char* value;
  } refused[] = {
      {"s", "k", "a\r\n[Libraries]\r\nUseAltras=1"},
      {"s", "k", "a\rb=c"},
      {"s", "k\nj", "v"},
      {"s]\n[t", "k", "v"},
      {"s", "[x", "a]"},
      {"s", "k=x", "v"},
  };
  const std::string before = "[s]\r\nk=1\r\n";
  test::WriteFileBytes(Path(), before);
  for (const auto& row : refused) {
    SCOPED_TRACE(testing::Message() << row.section << "/" << row.key << "/" << row.value);
    EXPECT_FALSE(WritePrivateProfileStringA(row.section, row.key, row.value, Path().c_str()));
    EXPECT_EQ(test::ReadFileBytes(Path()), before);
  }
}

TEST_F(ProfileFile, HandlesLinesAndFilesOfAnyLength) {
  const std::string longValue(1 << 20, 'v');
  std::string keys = "[big]\r\n";
  for (int i = 0; i < 20000; ++i) {
    keys += "key" + std::to_string(i) + "=" + std::to_string(i) + "\r\n";
  }
  test::WriteFileBytes(Path(), keys + "long=" + longValue + "\r\n[end]\r\n");

  ASSERT_TRUE(WritePrivateProfileStringA("big", "added", "x", Path().c_str()));
  EXPECT_EQ(test::ReadFileBytes(Path()), keys + "long=" + longValue + "\r\nadded=x\r\n[end]\r\n");
  std::vector<char> value(longValue.size() + 1);
  EXPECT_EQ(GetPrivateProfileStringA("big", "long", "", value.data(),
                                     static_cast<DWORD>(value.size()), Path().c_str()),
            longValue.size());
  EXPECT_EQ(std::string(value.data()), longValue);
  EXPECT_EQ(GetPrivateProfileIntA("big", "key19999", 0, Path().c_str()), 19999u);

  ASSERT_TRUE(WritePrivateProfileStringA("big", "long", "short", Path().c_str()));
  EXPECT_EQ(test::ReadFileBytes(Path()), keys + "long=short\r\nadded=x\r\n[end]\r\n");
}

// A limit on the size of files the process writes stands in for a full disk.
class ScopedFileSizeLimit {
 public:
  explicit ScopedFileSizeLimit(rlim_t bytes) : signal_(signal(SIGXFSZ, SIG_IGN)) {
    getrlimit(RLIMIT_FSIZE, &previous_);
    rlimit limit = previous_;
    limit.rlim_cur = bytes;
    setrlimit(RLIMIT_FSIZE, &limit);
  }
  ~ScopedFileSizeLimit() {
    setrlimit(RLIMIT_FSIZE, &previous_);
    signal(SIGXFSZ, signal_);
  }
  ScopedFileSizeLimit(const ScopedFileSizeLimit&) = delete;
  ScopedFileSizeLimit& operator=(const ScopedFileSizeLimit&) = delete;

 private:
  rlimit previous_;
  void (*signal_)(int);
};

TEST_F(ProfileFile, AFailedWriteLeavesTheOldFileAndNoTemporaryFile) {
  const std::string before = "[a]\r\nx=1\r\n";
  test::WriteFileBytes(Path(), before);
  BOOL written;
  {
    ScopedFileSizeLimit full(before.size() + 8);
    written = WritePrivateProfileStringA("a", "x", std::string(4096, 'y').c_str(), Path().c_str());
  }
  EXPECT_FALSE(written);
  EXPECT_EQ(test::ReadFileBytes(Path()), before);
  EXPECT_EQ(DirectoryContent(), std::vector<std::string>{"person.ini"});

  ASSERT_TRUE(WritePrivateProfileStringA("a", "x", "2", Path().c_str()));
  EXPECT_EQ(DirectoryContent(), std::vector<std::string>{"person.ini"});
}

TEST_F(ProfileFile, KeepsPermissionsAndWritesThroughLinks) {
  const std::string target = directory_.File("real.ini");
  test::WriteFileBytes(target, "[a]\nx=1\n");
  ASSERT_EQ(chmod(target.c_str(), 0640), 0);
  std::filesystem::create_symlink("real.ini", Path());

  ASSERT_TRUE(WritePrivateProfileStringA("a", "x", "2", Path().c_str()));
  EXPECT_TRUE(std::filesystem::is_symlink(Path()));
  EXPECT_EQ(test::ReadFileBytes(target), "[a]\nx=2\n");
  struct stat info;
  ASSERT_EQ(stat(target.c_str(), &info), 0);
  EXPECT_EQ(info.st_mode & 07777, 0640u);
}

TEST_F(ProfileFile, NothingToChangeLeavesTheFileAlone) {
  test::WriteFileBytes(Path(), "[a]\nx=1\n");
  struct stat before, after;
  ASSERT_EQ(stat(Path().c_str(), &before), 0);
  EXPECT_TRUE(WritePrivateProfileStringA("A", "X", "1", Path().c_str()));
  EXPECT_TRUE(WritePrivateProfileStringA("a", "y", nullptr, Path().c_str()));
  ASSERT_EQ(stat(Path().c_str(), &after), 0);
  EXPECT_EQ(after.st_ino, before.st_ino);

  const std::string missing = directory_.File("missing.ini");
  EXPECT_TRUE(WritePrivateProfileStringA("a", "x", nullptr, missing.c_str()));
  EXPECT_TRUE(WritePrivateProfileStringA("a", nullptr, nullptr, missing.c_str()));
  EXPECT_FALSE(std::filesystem::exists(missing));
}

TEST(ProfileDefault, NullFileNameMeansWinIniOfTheStandInSystem) {
  const std::string winIni = StandInDefaultProfilePath();
  std::filesystem::remove(winIni);
  EXPECT_EQ(GetPrivateProfileIntA("Libraries", "UseAltras", 0, nullptr), 0u);
  ASSERT_TRUE(WritePrivateProfileStringA("Libraries", "UseAltras", "1", nullptr));
  EXPECT_EQ(test::ReadFileBytes(winIni), "[Libraries]\r\nUseAltras=1\r\n");
  EXPECT_EQ(GetPrivateProfileIntA("Libraries", "UseAltras", 0, nullptr), 1u);
  std::filesystem::remove(winIni);

  // A bare file name lies beside it, as in the Windows directory.
  const std::string other = StandInSystemRoot() + "/other.ini";
  test::WriteFileBytes(other, "[a]\nx=5\n");
  EXPECT_EQ(GetPrivateProfileIntA("a", "x", 0, "other.ini"), 5u);
  std::filesystem::remove(other);
}

}  // namespace
