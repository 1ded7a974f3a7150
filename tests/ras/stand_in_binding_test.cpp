// The binding with the platform's own loader and the real stand-in service built beside the
// test program (under Wine in place of Wine's own rasapi32, see CMakeLists.txt): the libraries
// are found, the right one is chosen, and a dial on the service's own thread is read state by
// state through the binding.
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
#include "support/stand_in_system.h"

namespace {

// The platform's loader, remembering what it loaded.
class CRecordingLoader final : public CLibraryLoader {
 public:
  CRecordingLoader() : previous_(ReplaceLibraryLoader(this)) {}
  ~CRecordingLoader() { ReplaceLibraryLoader(previous_); }
  CRecordingLoader(const CRecordingLoader&) = delete;
  CRecordingLoader& operator=(const CRecordingLoader&) = delete;

  LibraryHandle LoadByName(const char* fileName) override {
    return loaded[fileName] = PlatformLibraryLoader().LoadByName(fileName);
  }
  EntryPoint FindEntryPoint(LibraryHandle library, const char* exportName) override {
    return PlatformLibraryLoader().FindEntryPoint(library, exportName);
  }
  void Release(LibraryHandle library) override { PlatformLibraryLoader().Release(library); }

  // Asks the library loaded as `fileName` which one it is, through the export only the stand-in
  // has.
  std::string NameReportedBy(const std::string& fileName) {
    using NameProc = const char*(WINAPI*)();
    if (loaded[fileName] == nullptr) {
      return "not loaded";
    }
    const auto name =
        reinterpret_cast<NameProc>(FindEntryPoint(loaded[fileName], "StandInLibraryName"));
    return name != nullptr ? name() : "not the stand-in";
  }

  std::map<std::string, LibraryHandle> loaded;

 private:
  CLibraryLoader* previous_;
};

TEST(StandInBinding, LoadsTheStandInLibrariesTheSwitchChooses) {
  const struct {
    const char* useAltras;
    uint32_t kind;
    const char* alternative;
  } cases[] = {{"0", 200, "not loaded"}, {"1", 100, "altras.dll"}};
  for (const auto& c : cases) {
    SCOPED_TRACE(c.useAltras);
    test::ScopedStandInSystem system;
    const std::string profile = system.Root().File("profile.ini");
    test::WriteFileBytes(profile, std::string("[Libraries]\nUseAltras=") + c.useAltras + "\n");
    CRecordingLoader loader;
    CRasLibrary ras;
    ASSERT_EQ(ras.Load(nullptr, profile.c_str()), 0u);
    EXPECT_EQ(ras.LibraryKind(), c.kind);
    EXPECT_EQ(loader.NameReportedBy("rasapi32.dll"), "rasapi32.dll");
    EXPECT_EQ(loader.NameReportedBy("altras.dll"), c.alternative);
  }
}

// States the caller's notifier heard; it runs on the service's thread with the dial lock held.
std::atomic<int> g_notificationsHeard{0};

void WINAPI CountNotification(UINT, RASCONNSTATE, DWORD) {
  ++g_notificationsHeard;
}

TEST(StandInBinding, DialHandsOutEveryStateOnceInOrderToConnectedOrTheOrderedFailure) {
  test::ScopedStandInSystem system;
  const std::filesystem::path book = system.PhoneBookPath();
  test::WriteFileBytes((book.parent_path() / "failures.txt").string(),
                       "RasDialA Work = 691 Authenticate\n");
  ASSERT_EQ(g_rasLibrary.Load(nullptr, nullptr), 0u);
  RASENTRYA entry = {};
  entry.dwSize = kEntryRecordSize;
  CopyText(entry.szDeviceName, "Acme");
  for (const char* name : {"My ISP", "Work"}) {
    ASSERT_EQ(g_rasLibrary.SetEntryProperties(name, &entry, kEntryRecordSize, nullptr, 0), 0u);
  }
  const std::vector<RASCONNSTATE> connecting = {
      RASCS_OpenPort,        RASCS_PortOpened,          RASCS_ConnectDevice,
      RASCS_DeviceConnected, RASCS_AllDevicesConnected, RASCS_Authenticate,
      RASCS_AuthNotify,      RASCS_AuthProject,         RASCS_Authenticated,
      RASCS_Connected};
  const struct {
    const char* entry;
    size_t states;  // the first ones of `connecting`
    DWORD error;    // of the last
  } cases[] = {{"my isp", 10, 0}, {"work", 6, 691}};
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
    // Poll as fast as the service dials: every state must come out once, in order, however the
    // polls and the notifications interleave. Equal states in a row are repeats.
    std::vector<RASCONNSTATE> read;
    RASCONNSTATUSA status = {sizeof status, RASCS_OpenPort, 0, {}, {}};
    while (read.empty() || (read.back() != RASCS_Connected && status.dwError == 0)) {
      ASSERT_EQ(g_rasLibrary.GetConnectStatus(connection, &status), 0u);
      if (read.empty() || read.back() != status.rasconnstate) {
        read.push_back(status.rasconnstate);
      }
      std::this_thread::yield();
    }
    EXPECT_EQ(read, std::vector<RASCONNSTATE>(connecting.begin(), connecting.begin() + c.states));
    EXPECT_EQ(status.dwError, c.error);
    EXPECT_STREQ(status.szDeviceName, "Acme");
    EXPECT_EQ(g_notificationsHeard, static_cast<int>(c.states));
    g_rasLibrary.HangUp(connection);
    EXPECT_EQ(g_rasLibrary.GetConnectStatus(connection, &status), DWORD{ERROR_INVALID_HANDLE});
  }
  EXPECT_FALSE(g_rasLibrary.DialConnections().HoldsMemory());
}

}  // namespace
