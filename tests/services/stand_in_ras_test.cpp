// The stand-in Remote Access Service as the tool meets it: loaded by the platform's loader (under
// Wine in place of Wine's own rasapi32), with its data in a temporary system root of each test.
#include <gtest/gtest.h>

#include <chrono>
#include <condition_variable>
#include <cstring>
#include <filesystem>
#include <functional>
#include <mutex>
#include <string>
#include <thread>
#include <vector>

#include "entry/entry_record.h"
#include "framework/text.h"
#include "platform/library_loader.h"
#include "platform/ras_service.h"
#include "platform/result_codes.h"
#include "service_files.h"
#include "support/test_environment.h"
#include "support/test_files.h"

namespace {

using Strings = std::vector<std::string>;

class StandInServiceTest : public ::testing::Test {
 protected:
  StandInServiceTest() : systemRoot_("SystemRoot", root_.path().string().c_str()) {
    std::filesystem::create_directories(root_.path() / "system32" / "ras");
    Load("rasapi32.dll");
  }
  ~StandInServiceTest() override {
    if (library_ != nullptr) {
      PlatformLibraryLoader().Release(library_);
    }
  }

  void Load(const char* fileName) {
    library_ = PlatformLibraryLoader().LoadByName(fileName);
    ASSERT_NE(library_, nullptr) << fileName;
  }

  template <typename Function>
  Function Find(const char* name) {
    auto function =
        reinterpret_cast<Function>(PlatformLibraryLoader().FindEntryPoint(library_, name));
    EXPECT_NE(function, nullptr) << name;
    return function;
  }

  std::string DataFile(const char* name) const {
    return (root_.path() / "system32" / "ras" / name).string();
  }

  static RASENTRYA Entry(const char* phoneNumber) {
    RASENTRYA entry = {};
    entry.dwSize = kEntryRecordSize;
    entry.ipaddrDns = {10, 0, 0, 53};
    CopyText(entry.szLocalPhoneNumber, phoneNumber);
    CopyText(entry.szDeviceType, "modem");
    CopyText(entry.szDeviceName, "Acme");
    return entry;
  }

  DWORD Store(const char* phoneBook, const char* name, RASENTRYA entry) {
    return Find<RasSetEntryPropertiesAProc>("RasSetEntryPropertiesA")(phoneBook, name, &entry,
                                                                      sizeof entry, nullptr, 0);
  }

  DWORD Fetch(const char* phoneBook, const char* name, RASENTRYA* entry) {
    *entry = {};
    entry->dwSize = kEntryRecordSize;
    DWORD size = sizeof *entry;
    return Find<RasGetEntryPropertiesAProc>("RasGetEntryPropertiesA")(phoneBook, name, entry, &size,
                                                                      nullptr, nullptr);
  }

  Strings EntryNames() {
    RASENTRYNAMEA names[4] = {};
    names[0].dwSize = sizeof names[0];
    DWORD size = sizeof names;
    DWORD count = 0;
    EXPECT_EQ(Find<RasEnumEntriesAProc>("RasEnumEntriesA")(nullptr, phoneBook_.c_str(), names,
                                                           &size, &count),
              0u);
    Strings listed;
    for (DWORD i = 0; i < count; ++i) {
      listed.push_back(names[i].szEntryName);
    }
    return listed;
  }

  test::ScopedTempDirectory root_;
  test::ScopedEnvironmentVariable systemRoot_;
  std::string phoneBook_ = root_.File("phone.pbk");
  LibraryHandle library_ = nullptr;
};

TEST_F(StandInServiceTest, StoredEntrySurvivesReloadingInTheDefaultPhoneBook) {
  const RASENTRYA entry = Entry("5550100");
  ASSERT_EQ(Store(nullptr, "My ISP", entry), 0u);
  PlatformLibraryLoader().Release(library_);
  Load("rasapi32.dll");
  RASENTRYA stored;
  ASSERT_EQ(Fetch(nullptr, "MY ISP", &stored), 0u);
  EXPECT_EQ(std::memcmp(&stored, &entry, sizeof entry), 0);
  // Written whole, in the system phone book, with nothing left beside it.
  const std::string text = test::ReadFileBytes(DataFile("rasphone.pbk"));
  EXPECT_NE(text.find("[My ISP]\n"), std::string::npos);
  EXPECT_EQ(std::distance(std::filesystem::directory_iterator(root_.path() / "system32" / "ras"),
                          std::filesystem::directory_iterator()),
            1);
}

TEST_F(StandInServiceTest, AnswersSizesAndMissingThingsAsThePlatform) {
  test::WriteFileBytes(DataFile("devices.txt"), "modem Acme\nvpn VPN\n");
  const char* book = phoneBook_.c_str();
  const auto getEntry = Find<RasGetEntryPropertiesAProc>("RasGetEntryPropertiesA");
  const auto setEntry = Find<RasSetEntryPropertiesAProc>("RasSetEntryPropertiesA");
  const auto enumDevices = Find<RasEnumDevicesAProc>("RasEnumDevicesA");
  const auto enumEntries = Find<RasEnumEntriesAProc>("RasEnumEntriesA");
  const auto country = Find<RasGetCountryInfoAProc>("RasGetCountryInfoA");
  RASENTRYA entry = Entry("1");
  RASDEVINFOA device = {152, {}, {}};
  RASENTRYNAMEA name = {264, {}};
  struct {
    RASCTRYINFO record;
    char name[32];
  } germany = {{sizeof(RASCTRYINFO), 49, 0, 0, 0}, {}};
  DWORD size = 0;
  DWORD count = 0;
  const struct {
    const char* name;
    std::function<DWORD()> call;
    DWORD result;
    DWORD sizeAfter;  // 0: not checked
  } cases[] = {
      {"entries without phone book",
       [&] { return enumEntries(nullptr, book, &name, &(size = 264), &count); },
       ERROR_CANNOT_OPEN_PHONEBOOK, 0},
      {"store", [&] { return setEntry(book, "A", &entry, 1768, nullptr, 0); }, 0, 0},
      {"store another", [&] { return setEntry(book, "B", &entry, 1768, nullptr, 0); }, 0, 0},
      {"warm-up", [&] { return getEntry(book, "", nullptr, &(size = 0), nullptr, &count); },
       ERROR_BUFFER_TOO_SMALL, 1768},
      {"entry too small",
       [&] { return getEntry(book, "A", &entry, &(size = 100), nullptr, nullptr); },
       ERROR_BUFFER_TOO_SMALL, 1768},
      {"missing entry",
       [&] { return getEntry(book, "C", &entry, &(size = 1768), nullptr, nullptr); },
       ERROR_CANNOT_FIND_PHONEBOOK_ENTRY, 0},
      {"entries too small",
       [&] { return enumEntries(nullptr, book, &name, &(size = 264), &count); },
       ERROR_BUFFER_TOO_SMALL, 528},
      {"devices too small", [&] { return enumDevices(&device, &(size = 152), &count); },
       ERROR_BUFFER_TOO_SMALL, 304},
      {"country too small", [&] { return country(&germany.record, &(size = 20)); },
       ERROR_BUFFER_TOO_SMALL, 28},
      {"country", [&] { return country(&germany.record, &(size = sizeof germany)); }, 0, 28},
      {"rename missing",
       [&] { return Find<RasRenameEntryAProc>("RasRenameEntryA")(book, "C", "D"); },
       ERROR_CANNOT_FIND_PHONEBOOK_ENTRY, 0},
      {"delete missing", [&] { return Find<RasDeleteEntryAProc>("RasDeleteEntryA")(book, "C"); },
       ERROR_CANNOT_FIND_PHONEBOOK_ENTRY, 0},
      {"store short", [&] { return setEntry(book, "A", &entry, 100, nullptr, 0); },
       ERROR_BUFFER_INVALID, 0},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.name);
    EXPECT_EQ(c.call(), c.result);
    if (c.sizeAfter != 0) {
      EXPECT_EQ(size, c.sizeAfter);
    }
  }
  EXPECT_STREQ(germany.name, "Germany");
  EXPECT_EQ(germany.record.dwCountryCode, 49u);
  // Records of a size the service does not know.
  entry.dwSize = device.dwSize = name.dwSize = 1000;
  EXPECT_EQ(getEntry(book, "A", &entry, &(size = 1768), nullptr, nullptr),
            DWORD{ERROR_INVALID_SIZE});
  EXPECT_EQ(setEntry(book, "A", &entry, 1768, nullptr, 0), DWORD{ERROR_INVALID_SIZE});
  EXPECT_EQ(enumDevices(&device, &(size = 1000), &count), DWORD{ERROR_INVALID_SIZE});
  EXPECT_EQ(enumEntries(nullptr, book, &name, &(size = 1000), &count), DWORD{ERROR_INVALID_SIZE});
}

TEST_F(StandInServiceTest, ValidatesNamesAsThePlatform) {
  ASSERT_EQ(Store(phoneBook_.c_str(), "My ISP", Entry("1")), 0u);
  const struct {
    std::string name;
    DWORD result;
  } cases[] = {
      {"my isp", ERROR_ALREADY_EXISTS},
      {"New ISP", 0},
      {"[Work] (fast)", 0},
      {std::string(256, 'n'), 0},
      {"", ERROR_INVALID_NAME},
      {std::string(257, 'n'), ERROR_INVALID_NAME},
      {".hidden", ERROR_INVALID_NAME},
      {" - ", ERROR_INVALID_NAME},
  };
  const auto validate = Find<RasValidateEntryNameAProc>("RasValidateEntryNameA");
  for (const auto& c : cases) {
    SCOPED_TRACE(c.name);
    EXPECT_EQ(validate(phoneBook_.c_str(), c.name.c_str()), c.result);
  }
  for (const char forbidden : std::string("|><?*\\/:")) {
    SCOPED_TRACE(forbidden);
    EXPECT_EQ(validate(phoneBook_.c_str(), (std::string("a") + forbidden + "b").c_str()),
              DWORD{ERROR_INVALID_NAME});
  }
}

TEST_F(StandInServiceTest, ReplacesRenamesAndDeletesAndKeepsBracketedNamesExactly) {
  const char* book = phoneBook_.c_str();
  const auto rename = Find<RasRenameEntryAProc>("RasRenameEntryA");
  ASSERT_EQ(Store(book, "[Work] (fast)", Entry("1")), 0u);
  ASSERT_EQ(Store(book, "a]b[c", Entry("2")), 0u);
  ASSERT_EQ(Store(book, "[WORK] (FAST)", Entry("3")), 0u);  // replaces, keeps the spelling
  EXPECT_EQ(EntryNames(), (Strings{"[Work] (fast)", "a]b[c"}));
  RASENTRYA stored;
  ASSERT_EQ(Fetch(book, "[work] (fast)", &stored), 0u);
  EXPECT_STREQ(stored.szLocalPhoneNumber, "3");
  EXPECT_EQ(rename(book, "[work] (FAST)", "A]B[C"), DWORD{ERROR_ALREADY_EXISTS});
  EXPECT_EQ(rename(book, "a]b[c", "A]B[C"), 0u);
  EXPECT_EQ(rename(book, "[Work] (fast)", "Home"), 0u);
  EXPECT_EQ(EntryNames(), (Strings{"Home", "A]B[C"}));
  EXPECT_EQ(Find<RasDeleteEntryAProc>("RasDeleteEntryA")(book, "home"), 0u);
  EXPECT_EQ(EntryNames(), Strings{"A]B[C"});
}

TEST_F(StandInServiceTest, ListsInstalledDevicesInFileOrder) {
  const auto enumDevices = Find<RasEnumDevicesAProc>("RasEnumDevicesA");
  RASDEVINFOA devices[3] = {{152, {}, {}}};
  DWORD size = sizeof devices;
  DWORD count = 9;
  EXPECT_EQ(enumDevices(devices, &size, &count), 0u);  // no device file: no devices
  EXPECT_EQ(count, 0u);
  test::WriteFileBytes(DataFile("devices.txt"), "vpn VPN\nmodem Zoom 56k\n");
  size = sizeof devices;
  EXPECT_EQ(enumDevices(devices, &size, &count), 0u);
  ASSERT_EQ(count, 2u);
  EXPECT_EQ(size, 304u);
  EXPECT_STREQ(devices[0].szDeviceType, "vpn");
  EXPECT_STREQ(devices[1].szDeviceName, "Zoom 56k");
}

TEST_F(StandInServiceTest, FailsOnlyTheFunctionsOrderedToFail) {
  test::WriteFileBytes(DataFile("failures.txt"),
                       "# made to fail\nRasSetEntryPropertiesA=624\nRasEnumDevicesA = 650\n");
  EXPECT_EQ(Store(phoneBook_.c_str(), "My ISP", Entry("1")), 624u);
  EXPECT_FALSE(std::filesystem::exists(phoneBook_));
  RASDEVINFOA device = {152, {}, {}};
  DWORD size = sizeof device;
  DWORD count = 0;
  EXPECT_EQ(Find<RasEnumDevicesAProc>("RasEnumDevicesA")(&device, &size, &count), 650u);
  EXPECT_EQ(Find<RasValidateEntryNameAProc>("RasValidateEntryNameA")(phoneBook_.c_str(), "x"), 0u);
}

// What the notifiers of the dial tests heard, from the service's threads.
struct Heard {
  HRASCONN connection;  // null for the RASDIALFUNC form, which is not told
  RASCONNSTATE state;
  DWORD error;
};

std::mutex g_heardLock;
std::condition_variable g_heardChanged;
std::vector<Heard> g_heard;
bool g_holdNotifier = false;  // while set, a notifier call waits inside the notifier

void Record(Heard heard) {
  std::unique_lock<std::mutex> lock(g_heardLock);
  g_heard.push_back(heard);
  g_heardChanged.notify_all();
  g_heardChanged.wait(lock, [] { return !g_holdNotifier; });
}

void WINAPI HearSimple(UINT message, RASCONNSTATE state, DWORD error) {
  EXPECT_EQ(message, WM_RASDIALEVENT);
  Record({nullptr, state, error});
}

void WINAPI HearWithHandle(HRASCONN connection, UINT message, RASCONNSTATE state, DWORD error,
                           DWORD) {
  EXPECT_EQ(message, WM_RASDIALEVENT);
  Record({connection, state, error});
}

class StandInDialTest : public StandInServiceTest {
 protected:
  StandInDialTest() {
    EXPECT_EQ(Store(nullptr, "My ISP", Entry("1")), 0u);
    EXPECT_EQ(Store(nullptr, "Work", Entry("2")), 0u);
    std::lock_guard<std::mutex> lock(g_heardLock);
    g_heard.clear();
  }

  DWORD Dial(const char* entryName, DWORD notifierType, void* notifier, HRASCONN* connection) {
    RASDIALPARAMSA parameters = {};
    parameters.dwSize = sizeof parameters;
    CopyText(parameters.szEntryName, entryName);
    return Find<RasDialAProc>("RasDialA")(nullptr, nullptr, &parameters, notifierType, notifier,
                                          connection);
  }

  // Waits until the service has delivered the last state of a dial: connected, or an error.
  static std::vector<Heard> WaitForEndOfDial() {
    std::unique_lock<std::mutex> lock(g_heardLock);
    g_heardChanged.wait(lock, [] {
      return !g_heard.empty() &&
             (g_heard.back().state == RASCS_Connected || g_heard.back().error != 0);
    });
    std::vector<Heard> heard;
    heard.swap(g_heard);
    return heard;
  }

  RASCONNSTATUSA Status(HRASCONN connection, DWORD* result) {
    RASCONNSTATUSA status = {sizeof status, RASCS_OpenPort, 0, {}, {}};
    *result = Find<RasGetConnectStatusAProc>("RasGetConnectStatusA")(connection, &status);
    return status;
  }

  DWORD HangUp(HRASCONN connection) { return Find<RasHangUpAProc>("RasHangUpA")(connection); }
};

TEST_F(StandInDialTest, DialsThroughEveryStateInOrderAndAnswersStatusUntilHungUp) {
  const struct {
    const char* name;
    DWORD type;
    void* notifier;
  } forms[] = {
      {"RasDialFunc", 0, reinterpret_cast<void*>(&HearSimple)},
      {"RasDialFunc1", 1, reinterpret_cast<void*>(&HearWithHandle)},
  };
  for (const auto& form : forms) {
    SCOPED_TRACE(form.name);
    HRASCONN connection = nullptr;
    ASSERT_EQ(Dial("my isp", form.type, form.notifier, &connection), 0u);
    ASSERT_NE(connection, nullptr);
    const std::vector<Heard> heard = WaitForEndOfDial();
    ASSERT_EQ(heard.size(), kDialStateCount);
    for (size_t i = 0; i < heard.size(); ++i) {
      EXPECT_EQ(heard[i].state, kDialStates[i].state);
      EXPECT_EQ(heard[i].error, 0u);
      EXPECT_EQ(heard[i].connection, form.type == 1 ? connection : nullptr);
    }
    DWORD result = 0;
    const RASCONNSTATUSA status = Status(connection, &result);
    EXPECT_EQ(result, 0u);
    EXPECT_EQ(status.rasconnstate, RASCS_Connected);
    EXPECT_STREQ(status.szDeviceType, "modem");
    EXPECT_STREQ(status.szDeviceName, "Acme");
    EXPECT_EQ(HangUp(connection), 0u);
    Status(connection, &result);
    EXPECT_EQ(result, DWORD{ERROR_INVALID_HANDLE});
    EXPECT_EQ(HangUp(connection), DWORD{ERROR_INVALID_HANDLE});
  }
}

TEST_F(StandInDialTest, DialEndsAsFailuresFileOrdersWithOrWithoutNotifier) {
  test::WriteFileBytes(DataFile("failures.txt"),
                       "RasDialA Work = 691 Authenticate\n"
                       "RasDialA My ISP=678\n"
                       "RasDialA Other=629 Nowhere\n");
  const struct {
    const char* entry;
    RASCONNSTATE state;
    DWORD error;
  } cases[] = {
      {"work", RASCS_Authenticate, 691},
      {"My ISP", RASCS_ConnectDevice, 678},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.entry);
    HRASCONN connection = nullptr;
    ASSERT_EQ(Dial(c.entry, 1, reinterpret_cast<void*>(&HearWithHandle), &connection), 0u);
    const std::vector<Heard> heard = WaitForEndOfDial();
    ASSERT_EQ(heard.size(), static_cast<size_t>(c.state) + 1);  // the states before it, in order
    EXPECT_EQ(heard.back().state, c.state);
    EXPECT_EQ(heard.back().error, c.error);
    DWORD result = 0;
    RASCONNSTATUSA status = Status(connection, &result);
    EXPECT_EQ(status.rasconnstate, c.state);
    EXPECT_EQ(status.dwError, c.error);
    EXPECT_EQ(HangUp(connection), 0u);
    // Without a notifier the dial has ended when RasDialA returns, with its error as the result.
    ASSERT_EQ(Dial(c.entry, 0, nullptr, &connection), c.error);
    status = Status(connection, &result);
    EXPECT_EQ(status.rasconnstate, c.state);
    EXPECT_EQ(HangUp(connection), 0u);
  }
  const struct {
    std::string text;
    RASCONNSTATE state;
    DWORD error;
  } orders[] = {
      {"RasDialA Other=629 Nowhere", RASCS_ConnectDevice, 629},
      {"RasDialA Other=629 Connected", RASCS_ConnectDevice, 629},
      {"RasDialA Other=0 Authenticate", RASCS_Connected, 0},
      {"RasDialA=650", RASCS_Connected, 0},
      {"RasDialA  a=b = 7 authnotify", RASCS_AuthNotify, 7},
  };
  for (const auto& order : orders) {
    SCOPED_TRACE(order.text);
    const char* name = order.text.find("a=b") != std::string::npos ? "A=B" : "other";
    const DialOutcome outcome = ParseDialOrder(order.text, name);
    EXPECT_EQ(outcome.state, order.state);
    EXPECT_EQ(outcome.error, order.error);
  }
}

TEST_F(StandInDialTest, HangUpNeverWaitsForANotifierCallInProgress) {
  {
    std::lock_guard<std::mutex> lock(g_heardLock);
    g_holdNotifier = true;
  }
  HRASCONN connection = nullptr;
  ASSERT_EQ(Dial("My ISP", 1, reinterpret_cast<void*>(&HearWithHandle), &connection), 0u);
  {
    std::unique_lock<std::mutex> lock(g_heardLock);
    g_heardChanged.wait(lock, [] { return !g_heard.empty(); });
  }
  // The first notifier call is still in progress: were the hang-up to wait for it, this test
  // would never end.
  EXPECT_EQ(HangUp(connection), 0u);
  {
    std::lock_guard<std::mutex> lock(g_heardLock);
    g_holdNotifier = false;
  }
  g_heardChanged.notify_all();
  // Time for the rest of the dial, were it to go on after the hang-up.
  std::this_thread::sleep_for(std::chrono::milliseconds(50));
  std::lock_guard<std::mutex> lock(g_heardLock);
  ASSERT_EQ(g_heard.size(), 1u);
  EXPECT_EQ(g_heard[0].state, RASCS_OpenPort);
}

TEST_F(StandInDialTest, RefusesUnknownNotifierFormsAndEntries) {
  HRASCONN connection = nullptr;
  EXPECT_EQ(Dial("My ISP", 2, reinterpret_cast<void*>(&HearWithHandle), &connection),
            DWORD{ERROR_INVALID_PARAMETER});
  EXPECT_EQ(Dial("Nobody", 1, reinterpret_cast<void*>(&HearWithHandle), &connection),
            DWORD{ERROR_CANNOT_FIND_PHONEBOOK_ENTRY});
  EXPECT_EQ(connection, nullptr);
}

}  // namespace
