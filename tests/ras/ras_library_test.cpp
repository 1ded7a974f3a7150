// The binding against the fake service: every way Load can go and which library the operations
// the tool uses then reach; then the device and entry lists against scripted answers.
#include "ras/ras_library.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>
#include <string>

#include "platform/result_codes.h"
#include "platform/system_info.h"
#include "ras/device_list.h"
#include "ras/fake_ras_service.h"
#include "ras/record_array.h"
#include "support/test_files.h"

namespace {

using Strings = std::vector<std::string>;
using Sizes = std::vector<DWORD>;

const char* const kPhoneBook = "book.pbk";

// Where Load succeeds, storing an entry and listing the devices reach the library in use, with
// the phone book and the service's result unchanged; a missing function answers 127 unasked, and
// the credentials functions may be missing from a library that loads.
TEST(RasLibrary, LoadFollowsSwitchAndFallbackAndFreesOnFailureThenOperationsReachTheirLibrary) {
  const struct {
    const char* name;
    FakeLibrary standard;
    const char* useAltras;
    FakeLibrary alternative;
    uint32_t result;
    uint32_t kind;
    int alternativeLoads;
    Strings released;
    const char* warmedUp;  // library whose RasGetEntryPropertiesA got the warm-up call
  } cases[] = {
      // clang-format off
      {"no rasapi32", kMissing, "1", kComplete, 83007, 200, 0, {}, nullptr},
      {"switch absent", kComplete, nullptr, kComplete, 0, 200, 0, {}, "rasapi32.dll"},
      {"switch 2", kComplete, "2", kComplete, 0, 100, 1, {}, "altras.dll"},
      {"rasapi32 incomplete", kIncomplete, "0", kComplete, 0, 100, 1, {}, "altras.dll"},
      {"rasapi32 bare", kBare, "0", kComplete, 0, 200, 0, {}, "rasapi32.dll"},
      {"altras bare", kComplete, "1", kBare, 0, 100, 1, {}, "altras.dll"},
      {"no altras", kComplete, "1", kMissing, 83009, 200, 1, {"rasapi32.dll"}, nullptr},
      {"altras incomplete", kComplete, "1", kIncomplete, 83009, 200, 1,
       {"altras.dll", "rasapi32.dll"}, nullptr},
      // clang-format on
  };
  test::ScopedTempDirectory directory;
  const std::string profile = directory.File("profile.ini");
  for (const auto& c : cases) {
    SCOPED_TRACE(c.name);
    test::WriteFileBytes(profile, c.useAltras ? std::string("[Libraries]\nUseAltras=") + c.useAltras
                                              : "[Libraries]\n");
    CFakeLibraryLoader loader;
    loader.Offer("rasapi32.dll", c.standard);
    loader.Offer("altras.dll", c.alternative);
    CRasLibrary ras;
    EXPECT_EQ(ras.Load(kPhoneBook, profile.c_str()), c.result);
    EXPECT_EQ(ras.LibraryKind(), c.kind);
    EXPECT_EQ(loader.loads["rasapi32.dll"], 1);
    EXPECT_EQ(loader.loads["altras.dll"], c.alternativeLoads);
    EXPECT_EQ(loader.released, c.released);
    const std::string library = c.warmedUp ? c.warmedUp : "";
    EXPECT_EQ(Fake().calls, c.warmedUp
                                ? Strings{library + ":RasGetEntryPropertiesA warm-up in book.pbk"}
                                : Strings{});
    if (c.result != 0) {
      continue;
    }
    Fake().calls.clear();
    Fake().result = 0xDEAD;  // as a list without answers does; no code either treats specially
    const bool bare = (c.kind == 100 ? c.alternative : c.standard) == kBare;
    const uint32_t result = bare ? ERROR_PROC_NOT_FOUND : 0xDEAD;
    RASENTRYA entry = {};
    EXPECT_EQ(ras.SetEntryProperties("a", &entry, sizeof entry, nullptr, 0), result);
    RASDEVINFOA device = {};
    DWORD size = sizeof device;
    DWORD count = 0;
    EXPECT_EQ(ras.EnumDevices(&device, &size, &count), result);
    const Strings reached = {library + ":RasSetEntryPropertiesA in book.pbk",
                             library + ":RasEnumDevicesA"};
    EXPECT_EQ(Fake().calls, bare ? Strings{} : reached);
    // The fake, as Windows before 2000, has no credentials functions: no Load failed for that.
    RASCREDENTIALSA credentials = {};
    EXPECT_EQ(ras.SetCredentials("a", &credentials, 0), ERROR_PROC_NOT_FOUND);
  }
}

// Lets a number of allocations succeed, then fails every further one.
int g_successesLeft = 0;
void* FailingAllocation(size_t size) {
  return g_successesLeft-- > 0 ? std::calloc(1, size) : nullptr;
}

// The list asked for: the sorted device list, the entry list, or the entry list as
// ValidateEntryName asks for it when the service answers `result` for "my isp".
enum List { kDevices, kEntries, kValidation };
// The system phone book: none before or after, made empty by the list, or there before and kept.
enum Book { kNone, kMade, kExisting };

struct ListCase {
  const char* name = "";
  List list = kEntries;
  std::vector<FakeListAnswer> answers = {};
  uint32_t result = 0;
  Sizes offered = {};
  Strings listed = {};  // "type/name" for a device; {"none"} when no list was handed out; the
                        // name after ValidateEntryName
  Book book = kNone;
  int allocations = -1;  // that succeed before every further one fails; -1: all succeed
};

// The system phone book lies in the real system directory: the temporary stand-in system on
// POSIX, the throw-away test prefix under Wine. The tests remove all they made there, and do not
// run where a phone book exists already.
class ListTest : public ::testing::Test {
 protected:
  void SetUp() override {
    loader_.Offer("rasapi32.dll");
    ASSERT_EQ(ras_.Load(nullptr, nullptr), 0u);
    char directory[260];
    ASSERT_GT(GetSystemDirectoryPath(directory, sizeof directory), 0u);
    book_ = std::filesystem::path(directory) / "ras" / "rasphone.pbk";
    if (std::filesystem::exists(book_)) {
      GTEST_SKIP() << "a phone book exists at " << book_;
    }
    madeFolder_ = std::filesystem::create_directory(book_.parent_path());
  }
  void TearDown() override {
    std::filesystem::remove(book_);
    if (madeFolder_) {
      std::filesystem::remove(book_.parent_path());
    }
  }

  Strings Read(List list, uint32_t expectedResult) {
    RASDEVINFOA* deviceList = nullptr;
    RASENTRYNAMEA* entryList = nullptr;
    uint32_t count = 99;
    if (list == kValidation) {
      char name[257] = "my isp";
      EXPECT_EQ(ras_.ValidateEntryName(name), expectedResult);
      return {name};
    }
    EXPECT_EQ(list == kDevices ? GetSortedDeviceList(ras_, &deviceList, &count)
                               : ras_.EnumEntries(&entryList, &count),
              expectedResult);
    if (deviceList == nullptr && entryList == nullptr) {
      EXPECT_EQ(count, 0u);
      return {"none"};
    }
    Strings listed;
    for (uint32_t i = 0; i < count; ++i) {
      listed.push_back(deviceList ? std::string(deviceList[i].szDeviceType) + "/" +
                                        deviceList[i].szDeviceName
                                  : entryList[i].szEntryName);
    }
    std::free(deviceList);
    std::free(entryList);
    return listed;
  }

  CFakeLibraryLoader loader_;
  CRasLibrary ras_;
  std::filesystem::path book_;
  bool madeFolder_ = false;
};

// The calls ask again with the room the service asked for, devices are sorted, and a count is
// never taken beyond the buffer; every allocation may fail, and nothing leaks; the entry list makes
// an empty system phone book once, but never over an existing one; and ValidateEntryName takes the
// stored spelling only when the name is taken.
TEST_F(ListTest, AnswersAsTheServiceAndMemoryAllow) {
  const std::vector<FakeListAnswer> growing = {{603, 528}, {603, 792}, {}};
  // clang-format off
  const ListCase cases[] = {
      {"two types and letter case", kDevices,
       {{603, 912}, {0, 912, 6, {"vpn/A", "modem/zeta", "modem/Zeta", "isdn/x", "modem/Zet",
                                 "Modem/y"}}},
       0, {152, 912}, {"Modem/y", "isdn/x", "modem/Zet", "modem/Zeta", "modem/zeta", "vpn/A"}},
      {"devices: second call fails too, count bounded", kDevices, {{603, 304, 2}, {603, 608, 4}},
       603, {152, 304}, {"/", "/"}},
      {"devices: 603 asking for nothing", kDevices, {{603, 0, 1}, {0, 0, 1, {"modem/A"}}},
       0, {152, 152}, {"modem/A"}},
      {"entries: 603 three times", kEntries, {{603, 528}, {603, 792}, {603, 1056}},
       603, {264, 528, 792}, {"none"}},
      {"entries: other failure", kEntries, {{610}}, 610, {264}, {"none"}},
      {"entries: count beyond the buffer", kEntries, {{0, 264, 4, {"A"}}}, 0, {264}, {"A"}},
      {"out of memory: devices, first", kDevices, growing, 8, {}, {"none"}, kNone, 0},
      {"out of memory: devices, second", kDevices, growing, 8, {152}, {"none"}, kNone, 1},
      {"out of memory: entries, first", kEntries, growing, 8, {}, {"none"}, kNone, 0},
      {"out of memory: entries, second", kEntries, growing, 8, {264}, {"none"}, kNone, 1},
      {"no phone book, then opened", kEntries, {{621}, {}}, 0, {264, 264}, {}, kMade},
      {"no phone book, still not opened", kEntries, {{621}, {621}}, 621, {264, 264}, {"none"},
       kMade},
      {"no phone book, but the file existed", kEntries, {{621}}, 621, {264}, {"none"}, kExisting},
      {"no phone book, then growing", kEntries, {{621}, {603, 528}, {603, 792}}, 603,
       {264, 264, 528}, {"none"}, kMade},
      {"validation: invalid name", kValidation, {}, ERROR_INVALID_NAME, {}, {"my isp"}},
      {"validation: other case", kValidation,
       {{603, 792}, {0, 792, 3, {"Other", "My ISP", "MY ISP"}}}, 183, {264, 792}, {"My ISP"}},
      {"validation: no match", kValidation, {{0, 264, 1, {"Other"}}}, 183, {264}, {"my isp"}},
      {"validation: list fails", kValidation, {{610, 264, 1, {"My ISP"}}}, 183, {264},
       {"my isp"}},
  };
  // clang-format on
  for (const ListCase& c : cases) {
    SCOPED_TRACE(c.name);
    const std::string kept = "[Kept]\n";
    if (c.book == kExisting) {
      test::WriteFileBytes(book_.string(), kept);
    }
    g_successesLeft = c.allocations;
    ReplaceRecordArrayAllocation(c.allocations >= 0 ? FailingAllocation : nullptr);
    Fake() = FakeService();
    Fake().result = c.list == kValidation ? c.result : 0;
    Fake().listAnswers.assign(c.answers.begin(), c.answers.end());
    EXPECT_EQ(Read(c.list, c.result), c.listed);
    ReplaceRecordArrayAllocation(nullptr);
    EXPECT_EQ(Fake().offeredSizes, c.offered);
    EXPECT_EQ(Fake().firstRecordSizes, Sizes(c.offered.size(), c.list == kDevices ? 152 : 264));
    EXPECT_EQ(std::filesystem::exists(book_), c.book != kNone);
    if (c.book != kNone) {
      EXPECT_EQ(test::ReadFileBytes(book_.string()), c.book == kMade ? "" : kept);
      std::filesystem::remove(book_);
    }
  }
}

}  // namespace
