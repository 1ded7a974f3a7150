// What every service does as the platform's service does, tried the same way on each: refusing
// arguments, and telling a dial's states. `find` gives the service's function of a name.
#pragma once

#include <gtest/gtest.h>

#include <atomic>
#include <chrono>
#include <functional>
#include <string>
#include <thread>

#include "base/text.h"
#include "entry/entry_record.h"
#include "platform/library_loader.h"
#include "platform/ras_service.h"

namespace test {

using FindFunction = std::function<EntryPoint(const char*)>;

// RasDialA's parameters for `entry`, as the user jo.
inline RASDIALPARAMSA DialParameters(const char* entry) {
  RASDIALPARAMSA parameters = {};
  parameters.dwSize = sizeof parameters;
  CopyText(parameters.szEntryName, entry);
  CopyText(parameters.szUserName, "jo");
  return parameters;
}

// The refusals, which come before the service touches anything, in the platform's order: missing
// pointers, unknown record sizes, names, then buffer sizes. The service has an entry "Work"; no
// service can hold the name "a/b".
inline void ExpectThePlatformsRefusals(const FindFunction& find) {
  const auto validate = reinterpret_cast<RasValidateEntryNameAProc>(find("RasValidateEntryNameA"));
  const auto rename = reinterpret_cast<RasRenameEntryAProc>(find("RasRenameEntryA"));
  const auto remove = reinterpret_cast<RasDeleteEntryAProc>(find("RasDeleteEntryA"));
  const auto get = reinterpret_cast<RasGetEntryPropertiesAProc>(find("RasGetEntryPropertiesA"));
  const auto set = reinterpret_cast<RasSetEntryPropertiesAProc>(find("RasSetEntryPropertiesA"));
  const auto devices = reinterpret_cast<RasEnumDevicesAProc>(find("RasEnumDevicesA"));
  const auto status = reinterpret_cast<RasGetConnectStatusAProc>(find("RasGetConnectStatusA"));
  const auto dial = reinterpret_cast<RasDialAProc>(find("RasDialA"));
  const auto edit = reinterpret_cast<RasEditPhonebookEntryAProc>(find("RasEditPhonebookEntryA"));
  const auto entries = reinterpret_cast<RasEnumEntriesAProc>(find("RasEnumEntriesA"));
  const auto credentials = reinterpret_cast<RasSetCredentialsAProc>(find("RasSetCredentialsA"));
  const auto dialParams =
      reinterpret_cast<RasSetEntryDialParamsAProc>(find("RasSetEntryDialParamsA"));
  RASCREDENTIALSA unknownCredentials = {};
  RASCREDENTIALSA strangeMask = {sizeof(RASCREDENTIALSA), 0x100, {}, {}, {}};
  RASCREDENTIALSA user = {sizeof(RASCREDENTIALSA), RASCM_UserName, {}, {}, {}};
  RASENTRYA entry = {};
  entry.dwSize = kEntryRecordSize;
  RASDIALPARAMSA named = DialParameters("a/b");
  // Records of the size 0, which the platform does not know.
  RASENTRYA unknownEntry = {};
  RASDIALPARAMSA unknownDial = {};
  RASDEVINFOA device = {};
  RASENTRYNAMEA name = {};
  RASCONNSTATUSA connection = {};
  DWORD size = 0;
  DWORD count = 0;
  HRASCONN handle = nullptr;
  // {answer, expected}, in the order of the calls.
  const DWORD rows[][2] = {
      {validate(nullptr, "a/b"), 123},
      {rename(nullptr, nullptr, "a/b"), 87},
      {rename(nullptr, "Work", "a/b"), 123},
      {rename(nullptr, "a/b", "Home"), 623},
      {remove(nullptr, "a/b"), 623},
      {get(nullptr, "a/b", &unknownEntry, nullptr, nullptr, nullptr), 87},
      {get(nullptr, "a/b", &unknownEntry, &(size = 1768), nullptr, nullptr), 632},
      {get(nullptr, "a/b", nullptr, &size, nullptr, nullptr), 623},
      {get(nullptr, "", nullptr, &(size = 0), nullptr, nullptr), 603},  // the warm-up
      {size, 1768},
      {get(nullptr, "Work", &entry, &(size = 100), nullptr, nullptr), 603},
      {size, 1768},
      {set(nullptr, "a/b", &unknownEntry, 1768, nullptr, 0), 632},
      {set(nullptr, "a/b", &entry, 100, nullptr, 0), 610},
      {set(nullptr, "a/b", &entry, 1768, nullptr, 0), 123},
      {devices(&device, &size, &count), 632},
      {status(nullptr, &connection), 632},
      {dial(nullptr, nullptr, &unknownDial, 0, nullptr, &handle), 632},
      {dial(nullptr, nullptr, &named, 0, nullptr, &handle), 623},
      {edit(nullptr, nullptr, "a/b"), 623},
      {entries(nullptr, nullptr, &name, &size, &count), 632},
      {credentials(nullptr, "Work", nullptr, 0), 87},
      {credentials(nullptr, "Work", &unknownCredentials, 0), 632},
      {credentials(nullptr, "Work", &strangeMask, 0), 87},
      {credentials(nullptr, "a/b", &user, 0), 623},
      {credentials(nullptr, "Absent", &user, 0), 623},
      {dialParams(nullptr, &unknownDial, 0), 632},
      {dialParams(nullptr, &named, 0), 623},
  };
  for (const auto& row : rows) {
    EXPECT_EQ(row[0], row[1]) << "row " << &row - rows;
  }
}

// The dial's notifier: it records what it hears, "state/error " for each state, has heard enough
// when the dial has ended or the test holds it, and while the test holds it stays inside the call.
// Written by the service's dial thread; read once it has heard enough.
inline std::string g_heard;
inline std::atomic<bool> g_heardEnough{false};
inline std::atomic<bool> g_holdNotifier{false};

inline void WINAPI HearDial(UINT, RASCONNSTATE state, DWORD error) {
  g_heard += std::to_string(state) + "/" + std::to_string(error) + " ";
  g_heardEnough = g_heardEnough || g_holdNotifier || state == RASCS_Connected || error != 0;
  while (g_holdNotifier) {
    std::this_thread::sleep_for(std::chrono::milliseconds(1));
  }
}

inline void WINAPI HearDialWithHandle(HRASCONN, UINT message, RASCONNSTATE state, DWORD error,
                                      DWORD) {
  HearDial(message, state, error);
}

// Dials `entry` as the user jo through a notifier of `notifierType` until the dial has ended, or
// with `hold` into the notifier's first call, which is held while the dial is hung up. The states
// heard, "| " and the state, error and device of the connection before the hang-up; after it the
// connection is gone.
inline std::string DialAndHangUp(const FindFunction& find, const char* entry, DWORD notifierType,
                                 bool hold = false) {
  const auto status = reinterpret_cast<RasGetConnectStatusAProc>(find("RasGetConnectStatusA"));
  g_heard.clear();
  g_heardEnough = false;
  g_holdNotifier = hold;
  RASDIALPARAMSA parameters = DialParameters(entry);
  HRASCONN connection = nullptr;
  void* notifier = notifierType == 0 ? reinterpret_cast<void*>(&HearDial)
                                     : reinterpret_cast<void*>(&HearDialWithHandle);
  EXPECT_EQ(reinterpret_cast<RasDialAProc>(find("RasDialA"))(nullptr, nullptr, &parameters,
                                                             notifierType, notifier, &connection),
            0u);
  // A lost last state fails the test rather than hanging it.
  for (int waited = 0; !g_heardEnough && waited < 10000; ++waited) {
    std::this_thread::sleep_for(std::chrono::milliseconds(1));
  }
  RASCONNSTATUSA read = {sizeof read, RASCS_OpenPort, 0, {}, {}};
  EXPECT_EQ(status(connection, &read), 0u);
  const std::string connected = std::to_string(read.rasconnstate) + "/" +
                                std::to_string(read.dwError) + " " + read.szDeviceName;
  EXPECT_EQ(reinterpret_cast<RasHangUpAProc>(find("RasHangUpA"))(connection), 0u);
  g_holdNotifier = false;
  // Time for the rest of the dial, were it to go on after the hang-up.
  std::this_thread::sleep_for(std::chrono::milliseconds(50));
  EXPECT_EQ(status(connection, &read), 6u);
  return g_heard + "| " + connected;
}

}  // namespace test
