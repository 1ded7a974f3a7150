// The binding with the platform's own loader and the real stand-in service built beside the
// test program (under Wine in place of Wine's own rasapi32, see CMakeLists.txt): the libraries
// are found, the right one is chosen, and an entry goes in and comes out again with its stored
// spelling.
#include <gtest/gtest.h>

#include <atomic>
#include <filesystem>
#include <map>
#include <string>
#include <thread>
#include <vector>

#include "framework/text.h"
#include "platform/result_codes.h"
#include "ras/ras_library.h"
#include "support/test_environment.h"
#include "support/test_files.h"

namespace {

// The platform's loader, remembering what it loaded, so that a test can ask each library which
// one it is through the export only the stand-in has.
class CRecordingLoader final : public CLibraryLoader {
 public:
  CRecordingLoader() : previous_(ReplaceLibraryLoader(this)) {}
  ~CRecordingLoader() { ReplaceLibraryLoader(previous_); }
  CRecordingLoader(const CRecordingLoader&) = delete;
  CRecordingLoader& operator=(const CRecordingLoader&) = delete;

  LibraryHandle LoadByName(const char* fileName) override {
    LibraryHandle library = PlatformLibraryLoader().LoadByName(fileName);
    loaded_[fileName] = library;
    return library;
  }
  EntryPoint FindEntryPoint(LibraryHandle library, const char* exportName) override {
    return PlatformLibraryLoader().FindEntryPoint(library, exportName);
  }
  void Release(LibraryHandle library) override { PlatformLibraryLoader().Release(library); }

  std::string NameReportedBy(const std::string& fileName) {
    using NameProc = const char*(WINAPI*)();
    const auto found = loaded_.find(fileName);
    if (found == loaded_.end() || found->second == nullptr) {
      return "not loaded";
    }
    const auto name =
        reinterpret_cast<NameProc>(FindEntryPoint(found->second, "StandInLibraryName"));
    return name != nullptr ? name() : "not the stand-in";
  }

 private:
  std::map<std::string, LibraryHandle> loaded_;
  CLibraryLoader* previous_;
};

TEST(StandInBinding, LoadsChosenStandInAndStoresAndValidatesThroughIt) {
  for (const char* useAltras : {"0", "1"}) {
    SCOPED_TRACE(std::string("UseAltras=") + useAltras);
    test::ScopedTempDirectory directory;
    test::ScopedEnvironmentVariable systemRoot("SystemRoot", directory.path().string().c_str());
    const std::string profile = directory.File("profile.ini");
    test::WriteFileBytes(profile, std::string("[Libraries]\nUseAltras=") + useAltras + "\n");
    const std::string phoneBook = directory.File("phone.pbk");

    CRecordingLoader loader;
    CRasLibrary ras;
    ASSERT_EQ(ras.Load(phoneBook.c_str(), profile.c_str()), 0u);
    EXPECT_EQ(loader.NameReportedBy("rasapi32.dll"), "rasapi32.dll");
    if (*useAltras == '1') {
      EXPECT_EQ(ras.LibraryKind(), 100u);
      EXPECT_EQ(loader.NameReportedBy("altras.dll"), "altras.dll");
    } else {
      EXPECT_EQ(ras.LibraryKind(), 200u);
      EXPECT_EQ(loader.NameReportedBy("altras.dll"), "not loaded");
    }

    RASENTRYA entry = {};
    entry.dwSize = kEntryRecordSize;
    CopyText(entry.szLocalPhoneNumber, "5550100");
    ASSERT_EQ(ras.SetEntryProperties("My ISP", &entry, kEntryRecordSize, nullptr, 0), 0u);
    RASENTRYA stored = {};
    stored.dwSize = kEntryRecordSize;
    DWORD size = sizeof stored;
    ASSERT_EQ(ras.GetEntryProperties("my isp", &stored, &size, nullptr, nullptr), 0u);
    EXPECT_STREQ(stored.szLocalPhoneNumber, "5550100");

    char name[257] = "MY ISP";
    EXPECT_EQ(ras.ValidateEntryName(name), 183u);
    EXPECT_STREQ(name, "My ISP");
  }
}

// States the caller's notifier heard; it runs on the service's thread with the dial lock held.
std::atomic<int> g_notificationsHeard{0};

void WINAPI CountNotification(UINT, RASCONNSTATE, DWORD) {
  ++g_notificationsHeard;
}

TEST(StandInBinding, DialHandsOutEveryStateOnceInOrderThenTheServicesOwnStatus) {
  test::ScopedTempDirectory directory;
  test::ScopedEnvironmentVariable systemRoot("SystemRoot", directory.path().string().c_str());
  std::filesystem::create_directories(directory.path() / "system32" / "ras");
  test::WriteFileBytes((directory.path() / "system32" / "ras" / "failures.txt").string(),
                       "RasDialA Work=678\n");
  const std::string phoneBook = directory.File("phone.pbk");
  ASSERT_EQ(g_rasLibrary.Load(phoneBook.c_str(), nullptr), 0u);
  RASENTRYA entry = {};
  entry.dwSize = kEntryRecordSize;
  CopyText(entry.szDeviceType, "modem");
  CopyText(entry.szDeviceName, "Acme");
  for (const char* name : {"My ISP", "Work"}) {
    ASSERT_EQ(g_rasLibrary.SetEntryProperties(name, &entry, kEntryRecordSize, nullptr, 0), 0u);
  }

  const struct {
    const char* entry;
    std::vector<RASCONNSTATE> states;
    DWORD error;  // of the last state
  } cases[] = {
      {"My ISP",
       {RASCS_OpenPort, RASCS_PortOpened, RASCS_ConnectDevice, RASCS_DeviceConnected,
        RASCS_AllDevicesConnected, RASCS_Authenticate, RASCS_AuthNotify, RASCS_AuthProject,
        RASCS_Authenticated, RASCS_Connected},
       0},
      {"Work", {RASCS_OpenPort, RASCS_PortOpened, RASCS_ConnectDevice}, 678},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.entry);
    g_notificationsHeard = 0;
    RASDIALPARAMSA parameters = {};
    parameters.dwSize = sizeof parameters;
    CopyText(parameters.szEntryName, c.entry);
    HRASCONN connection = nullptr;
    ASSERT_EQ(g_rasLibrary.Dial(nullptr, &parameters, 0,
                                reinterpret_cast<void*>(&CountNotification), &connection),
              0u);
    // Poll as fast as the service dials: every state must come out once, in order, however
    // the polls and the notifications interleave. Equal states in a row are repeats.
    std::vector<RASCONNSTATE> read;
    RASCONNSTATUSA status = {sizeof status, RASCS_OpenPort, 0, {}, {}};
    while (read.size() < c.states.size()) {
      ASSERT_EQ(g_rasLibrary.GetConnectStatus(connection, &status), 0u);
      if (read.empty() || read.back() != status.rasconnstate) {
        read.push_back(status.rasconnstate);
      }
      std::this_thread::yield();
    }
    EXPECT_EQ(read, c.states);
    EXPECT_EQ(status.dwError, c.error);
    EXPECT_STREQ(status.szDeviceName, "Acme");
    EXPECT_EQ(g_notificationsHeard, static_cast<int>(c.states.size()));
    g_rasLibrary.HangUp(connection);
    EXPECT_EQ(g_rasLibrary.GetConnectStatus(connection, &status), DWORD{ERROR_INVALID_HANDLE});
  }
  EXPECT_FALSE(g_rasLibrary.DialConnections().HoldsMemory());
}

}  // namespace
