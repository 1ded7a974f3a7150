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

// Lets a number of allocations succeed, then fails every further one.
int g_successesLeft = 0;
void* FailingAllocation(size_t size) {
  return g_successesLeft-- > 0 ? std::calloc(1, size) : nullptr;
}

struct ListCase {
  const char* name = "";
  bool devices = false;
  std::vector<FakeListAnswer> answers = {};
  uint32_t result = 0;
  Sizes offered = {};
  Strings listed = {};  // "type/name" for a device; {"none"} when no list was handed out
};

class ListTest : public ::testing::Test {
 protected:
  void SetUp() override {
    loader_.Offer("rasapi32.dll");
    ASSERT_EQ(ras_.Load(nullptr, nullptr), 0u);
  }
  void TearDown() override { ReplaceRecordArrayAllocation(nullptr); }

  Strings List(bool devices, uint32_t expectedResult) {
    RASDEVINFOA* deviceList = nullptr;
    RASENTRYNAMEA* entryList = nullptr;
    uint32_t count = 99;
    EXPECT_EQ(devices ? GetSortedDeviceList(ras_, &deviceList, &count)
                      : ras_.EnumEntries(&entryList, &count),
              expectedResult);
    if (deviceList == nullptr && entryList == nullptr) {
      EXPECT_EQ(count, 0u);
      return {"none"};
    }
    Strings listed;
    for (uint32_t i = 0; i < count; ++i) {
      listed.push_back(devices ? std::string(deviceList[i].szDeviceType) + "/" +
                                     deviceList[i].szDeviceName
                               : entryList[i].szEntryName);
    }
    std::free(deviceList);
    std::free(entryList);
    return listed;
  }

  void Check(const ListCase& c) {
    SCOPED_TRACE(c.name);
    Fake().offeredSizes.clear();
    Fake().firstRecordSizes.clear();
    Fake().listAnswers.assign(c.answers.begin(), c.answers.end());
    EXPECT_EQ(List(c.devices, c.result), c.listed);
    EXPECT_EQ(Fake().offeredSizes, c.offered);
    EXPECT_EQ(Fake().firstRecordSizes, Sizes(c.offered.size(), c.devices ? 152 : 264));
  }

  CFakeLibraryLoader loader_;
  CRasLibrary ras_;
};

TEST_F(ListTest, AsksAgainWithTheRoomAskedForSortsDevicesAndBoundsTheCount) {
  const bool kDevices = true;
  // clang-format off
  const ListCase cases[] = {
      {"two types and letter case", kDevices,
       {{603, 912}, {0, 912, 6, {"vpn/A", "modem/zeta", "modem/Zeta", "isdn/x", "modem/Zet",
                                 "Modem/y"}}},
       0, {152, 912}, {"Modem/y", "isdn/x", "modem/Zet", "modem/Zeta", "modem/zeta", "vpn/A"}},
      {"no devices", kDevices, {{}}, 0, {152}, {}},
      {"devices: second call fails too, count bounded", kDevices, {{603, 304, 2}, {603, 608, 4}},
       603, {152, 304}, {"/", "/"}},
      {"devices: 603 asking for nothing", kDevices, {{603, 0, 1}, {0, 0, 1, {"modem/A"}}},
       0, {152, 152}, {"modem/A"}},
      {"empty phone book", !kDevices, {{}}, 0, {264}, {}},
      {"entries: 603 three times", !kDevices, {{603, 528}, {603, 792}, {603, 1056}},
       603, {264, 528, 792}, {"none"}},
      {"entries: other failure", !kDevices, {{610}}, 610, {264}, {"none"}},
      {"entries: count beyond the buffer", !kDevices, {{0, 264, 4, {"A"}}}, 0, {264}, {"A"}},
  };
  // clang-format on
  for (const ListCase& c : cases) {
    Check(c);
  }
}

TEST_F(ListTest, AnswerOutOfMemoryAtEveryAllocationAndLeakNothing) {
  for (const bool devices : {true, false}) {
    for (int successes = 0; successes < (devices ? 2 : 3); ++successes) {
      SCOPED_TRACE(std::string(devices ? "devices, " : "entries, ") + std::to_string(successes));
      g_successesLeft = successes;
      ReplaceRecordArrayAllocation(FailingAllocation);
      Fake().offeredSizes.clear();
      Fake().listAnswers = {{603, 528}, {603, 792}, {}};
      EXPECT_EQ(List(devices, ERROR_NOT_ENOUGH_MEMORY), Strings{"none"});
      EXPECT_EQ(Fake().offeredSizes.size(), static_cast<size_t>(successes));
    }
  }
}

// The system phone book lies in the real system directory: the temporary stand-in system on
// POSIX, the throw-away test prefix under Wine. The test removes all it made there, and does not
// run where a phone book exists already.
TEST_F(ListTest, EntryListMakesAnEmptySystemPhoneBookOnceAndAsksAgain) {
  char directory[260];
  ASSERT_GT(GetSystemDirectoryPath(directory, sizeof directory), 0u);
  const std::filesystem::path folder = std::filesystem::path(directory) / "ras";
  const std::filesystem::path path = folder / "rasphone.pbk";
  if (std::filesystem::exists(path)) {
    GTEST_SKIP() << "a phone book exists at " << path;
  }
  const bool madeFolder = std::filesystem::create_directory(folder);
  // clang-format off
  const ListCase cases[] = {
      {"then opened", false, {{621}, {}}, 0, {264, 264}, {}},
      {"still not opened", false, {{621}, {621}}, 621, {264, 264}, {"none"}},
      {"file existed", false, {{621}}, 621, {264}, {"none"}},  // the file of the case before
      {"then growing", false, {{621}, {603, 528}, {603, 792}}, 603, {264, 264, 528}, {"none"}},
  };
  // clang-format on
  for (const ListCase& c : cases) {
    if (std::string(c.name) != "file existed") {
      std::filesystem::remove(path);
    }
    Check(c);
    EXPECT_TRUE(std::filesystem::is_regular_file(path)) << c.name;
    EXPECT_EQ(std::filesystem::file_size(path), 0u) << c.name;
  }
  std::filesystem::remove(path);
  if (madeFolder) {
    std::filesystem::remove(folder);
  }
}

}  // namespace
