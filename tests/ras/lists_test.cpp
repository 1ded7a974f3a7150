// The device and entry lists against scripted answers of the fake service: the call sequences,
// the sort, the bound on the count, running out of memory, and the system phone book that the
// entry list makes when the service cannot open one.
#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>
#include <string>

#include "platform/file_system.h"
#include "platform/result_codes.h"
#include "ras/device_list.h"
#include "ras/fake_ras_service.h"
#include "ras/record_array.h"

namespace {

using Strings = std::vector<std::string>;
using Sizes = std::vector<DWORD>;

// Lets `successes` allocations succeed, then fails every further one.
int g_successesLeft = 0;
void* FailingAllocation(size_t size) {
  return g_successesLeft-- > 0 ? std::calloc(1, size) : nullptr;
}

class ScopedFailingAllocation {
 public:
  explicit ScopedFailingAllocation(int successes) {
    g_successesLeft = successes;
    ReplaceRecordArrayAllocation(FailingAllocation);
  }
  ~ScopedFailingAllocation() { ReplaceRecordArrayAllocation(nullptr); }
};

class ListTest : public ::testing::Test {
 protected:
  void SetUp() override {
    loader_.Offer("rasapi32.dll");
    ASSERT_EQ(ras_.Load(nullptr, nullptr), 0u);
  }

  Strings ListDevices(uint32_t expectedResult) {
    RASDEVINFOA* list = nullptr;
    uint32_t count = 99;
    EXPECT_EQ(GetSortedDeviceList(ras_, &list, &count), expectedResult);
    Strings devices;
    for (uint32_t i = 0; i < count; ++i) {
      devices.push_back(std::string(list[i].szDeviceType) + "/" + list[i].szDeviceName);
    }
    std::free(list);
    return devices;
  }

  // The names listed, or "none" when no list was handed out.
  Strings ListEntries(uint32_t expectedResult) {
    RASENTRYNAMEA* list = nullptr;
    uint32_t count = 99;
    EXPECT_EQ(ras_.EnumEntries(&list, &count), expectedResult);
    if (list == nullptr) {
      EXPECT_EQ(count, 0u);
      return {"none"};
    }
    Strings names;
    for (uint32_t i = 0; i < count; ++i) {
      names.push_back(list[i].szEntryName);
    }
    std::free(list);
    return names;
  }

  CFakeLibraryLoader loader_;
  CRasLibrary ras_;
};

struct ListCase {
  const char* name;
  std::vector<FakeListAnswer> answers;
  uint32_t result;
  Sizes offered;
  Strings listed;
};

TEST_F(ListTest, DeviceListAsksTwiceAtMostSortsAndBoundsTheCount) {
  const ListCase cases[] = {
      {"one device", {{0, 152, 1, {{"modem", "Modem A"}}}}, 0, {152}, {"modem/Modem A"}},
      {"three devices",
       {{603, 456, 3, {}}, {0, 456, 3, {{"vpn", "VPN"}, {"modem", "b"}, {"modem", "B"}}}},
       0,
       {152, 456},
       {"modem/B", "modem/b", "vpn/VPN"}},
      {"two types and letter case",
       {{603, 912, 6, {}},
        {0,
         912,
         6,
         {{"vpn", "A"},
          {"modem", "zeta"},
          {"modem", "Zeta"},
          {"isdn", "x"},
          {"modem", "Zet"},
          {"Modem", "y"}}}},
       0,
       {152, 912},
       {"Modem/y", "isdn/x", "modem/Zet", "modem/Zeta", "modem/zeta", "vpn/A"}},
      {"no devices", {{0, 0, 0, {}}}, 0, {152}, {}},
      {"first call fails", {{ERROR_BUFFER_INVALID, 152, 0, {}}}, ERROR_BUFFER_INVALID, {152}, {}},
      {"second call fails too, count bounded",
       {{603, 304, 2, {}}, {603, 608, 4, {}}},
       603,
       {152, 304},
       {"/", "/"}},
      {"count beyond the buffer", {{0, 152, 5, {{"modem", "A"}}}}, 0, {152}, {"modem/A"}},
      {"603 asking for nothing",
       {{603, 0, 1, {}}, {0, 0, 1, {{"modem", "A"}}}},
       0,
       {152, 152},
       {"modem/A"}},
  };
  for (const ListCase& c : cases) {
    SCOPED_TRACE(c.name);
    Fake().offeredSizes.clear();
    Fake().firstRecordSizes.clear();
    Fake().listAnswers.assign(c.answers.begin(), c.answers.end());
    EXPECT_EQ(ListDevices(c.result), c.listed);
    EXPECT_EQ(Fake().offeredSizes, c.offered);
    EXPECT_EQ(Fake().firstRecordSizes, Sizes(c.offered.size(), 152));
  }
}

TEST_F(ListTest, EntryListRetriesTooSmallBuffersThreeTimesAtMost) {
  const ListCase cases[] = {
      {"empty phone book", {{0, 0, 0, {}}}, 0, {264}, {}},
      {"two entries", {{603, 528, 2, {}}, {0, 528, 2, {{"A"}, {"B"}}}}, 0, {264, 528}, {"A", "B"}},
      {"growing three times",
       {{603, 528, 2, {}}, {603, 792, 3, {}}, {603, 1056, 4, {}}},
       603,
       {264, 528, 792},
       {"none"}},
      {"other failure", {{ERROR_BUFFER_INVALID, 0, 0, {}}}, ERROR_BUFFER_INVALID, {264}, {"none"}},
      {"count beyond the buffer", {{0, 264, 4, {{"A"}}}}, 0, {264}, {"A"}},
  };
  for (const ListCase& c : cases) {
    SCOPED_TRACE(c.name);
    Fake().offeredSizes.clear();
    Fake().firstRecordSizes.clear();
    Fake().listAnswers.assign(c.answers.begin(), c.answers.end());
    EXPECT_EQ(ListEntries(c.result), c.listed);
    EXPECT_EQ(Fake().offeredSizes, c.offered);
    EXPECT_EQ(Fake().firstRecordSizes, Sizes(c.offered.size(), 264));
  }
}

TEST_F(ListTest, ListsAnswerOutOfMemoryAtEveryAllocationAndLeakNothing) {
  for (int successes = 0; successes < 3; ++successes) {
    SCOPED_TRACE(successes);
    ScopedFailingAllocation failing(successes);
    Fake().offeredSizes.clear();
    Fake().listAnswers = {{603, 528, 2, {}}, {603, 792, 3, {}}, {0, 792, 3, {}}};
    EXPECT_EQ(ListEntries(ERROR_NOT_ENOUGH_MEMORY), Strings{"none"});
    EXPECT_EQ(Fake().offeredSizes.size(), static_cast<size_t>(successes));
  }
  for (int successes = 0; successes < 2; ++successes) {
    SCOPED_TRACE(successes);
    ScopedFailingAllocation failing(successes);
    Fake().offeredSizes.clear();
    Fake().listAnswers = {{603, 456, 3, {}}, {0, 456, 3, {}}};
    RASDEVINFOA sentinel;
    RASDEVINFOA* list = &sentinel;
    uint32_t count = 99;
    EXPECT_EQ(GetSortedDeviceList(ras_, &list, &count), uint32_t{ERROR_NOT_ENOUGH_MEMORY});
    EXPECT_EQ(list, nullptr);
    EXPECT_EQ(count, 0u);
    EXPECT_EQ(Fake().offeredSizes.size(), static_cast<size_t>(successes));
  }
}

// The system phone book lies in the real system directory: the temporary stand-in system on
// POSIX, the throw-away test prefix under Wine. The test makes what it needs there and removes
// all it made; it does not run where a phone book exists already.
class SystemPhoneBookTest : public ListTest {
 protected:
  void SetUp() override {
    ListTest::SetUp();
    char directory[260];
    const size_t length = GetSystemDirectoryPath(directory, sizeof directory);
    ASSERT_GT(length, 0u);
    ASSERT_LT(length, sizeof directory);
    folder_ = std::filesystem::path(directory) / "ras";
    path_ = (folder_ / "rasphone.pbk").string();
    if (std::filesystem::exists(path_)) {
      GTEST_SKIP() << "a phone book exists at " << path_;
    }
    madeFolder_ = std::filesystem::create_directory(folder_);
  }
  void TearDown() override {
    std::error_code ignored;
    std::filesystem::remove(path_, ignored);
    if (madeFolder_) {
      std::filesystem::remove(folder_, ignored);
    }
  }

  std::filesystem::path folder_;
  std::string path_;
  bool madeFolder_ = false;
};

TEST_F(SystemPhoneBookTest, EntryListMakesEmptyPhoneBookOnceAndAsksAgain) {
  const ListCase cases[] = {
      {"then opened", {{621, 0, 0, {}}, {0, 0, 0, {}}}, 0, {264, 264}, {}},
      {"still not opened", {{621, 0, 0, {}}, {621, 0, 0, {}}}, 621, {264, 264}, {"none"}},
      {"file existed", {{621, 0, 0, {}}}, 621, {264}, {"none"}},
      {"then growing",
       {{621, 0, 0, {}}, {603, 528, 2, {}}, {603, 792, 3, {}}},
       603,
       {264, 264, 528},
       {"none"}},
  };
  for (const ListCase& c : cases) {
    SCOPED_TRACE(c.name);
    // Each case starts without the file, but for the one that finds the file of the case before.
    if (std::string(c.name) != "file existed") {
      std::filesystem::remove(path_);
    }
    Fake().offeredSizes.clear();
    Fake().listAnswers.assign(c.answers.begin(), c.answers.end());
    EXPECT_EQ(ListEntries(c.result), c.listed);
    EXPECT_EQ(Fake().offeredSizes, c.offered);
    EXPECT_TRUE(std::filesystem::is_regular_file(path_));
    EXPECT_EQ(std::filesystem::file_size(path_), 0u);
  }
}

}  // namespace
