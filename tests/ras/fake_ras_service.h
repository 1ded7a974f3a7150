// A fake Remote Access Service for the binding's tests: a loader whose libraries rasapi32.dll and
// altras.dll export chosen functions. Every fake function logs "<library>:<function>" (Load's
// warm-up call with " warm-up" after it) and " in <phone book>" where one is named, so a test sees
// which library the binding called and with which phone book, and answers from a script.
#pragma once

#include <algorithm>
#include <cstring>
#include <deque>
#include <functional>
#include <map>
#include <set>
#include <string>
#include <vector>

#include "base/text.h"
#include "platform/library_loader.h"
#include "platform/ras_service.h"
#include "platform/result_codes.h"

// One answer of a list function: its result, the size and count it writes back, and the records
// it fills in ("type/name" for a device, the name for an entry), never more than the buffer holds.
struct FakeListAnswer {
  DWORD result = 0;
  DWORD size = 0;
  DWORD count = 0;
  std::vector<std::string> records = {};
};

struct FakeService {
  std::vector<std::string> calls;
  DWORD result = 0;                        // what every function but the lists answers
  std::deque<FakeListAnswer> listAnswers;  // when none is left, a list answers 0xDEAD
  std::vector<DWORD> offeredSizes;         // byte size offered to each list call
  std::vector<DWORD> firstRecordSizes;     // dwSize of the first record at each list call
  // RasDialA keeps the notifier it was given; when `result` is 0 it writes `connection` into the
  // caller's variable, then runs `duringDial`, which may notify before RasDialA returns.
  HRASCONN connection = nullptr;
  std::function<void()> duringDial;
  DWORD notifierType = 0;
  RASDIALFUNC1 notifier = nullptr;
  // RasGetConnectStatusA answers `result`; on 0 it copies `status`, where the caller's dwSize is
  // 160 as the platform wants (632 otherwise).
  RASCONNSTATUSA status = {};
  std::vector<HRASCONN> hungUp;  // handle of every RasHangUpA call
};

inline FakeService& Fake() {
  static FakeService service;
  return service;
}

namespace fake {

inline const char* const kLibraries[] = {"rasapi32.dll", "altras.dll"};

template <int L>
DWORD Log(const char* function, const char* phoneBook = nullptr) {
  Fake().calls.push_back(std::string(kLibraries[L]) + ":" + function +
                         (phoneBook != nullptr ? std::string(" in ") + phoneBook : ""));
  return Fake().result;
}

inline void Fill(RASDEVINFOA* device, const std::string& record) {
  const size_t slash = record.find('/');
  CopyText(device->szDeviceType, record.substr(0, slash).c_str());
  CopyText(device->szDeviceName, record.substr(slash + 1).c_str());
}

inline void Fill(RASENTRYNAMEA* entry, const std::string& record) {
  CopyText(entry->szEntryName, record.c_str());
}

template <typename Record>
DWORD AnswerList(Record* records, DWORD* size, DWORD* count) {
  Fake().offeredSizes.push_back(*size);
  Fake().firstRecordSizes.push_back(records->dwSize);
  if (Fake().listAnswers.empty()) {
    return 0xDEAD;
  }
  const FakeListAnswer answer = Fake().listAnswers.front();
  Fake().listAnswers.pop_front();
  for (size_t i = 0; i < std::min<size_t>(answer.records.size(), *size / sizeof(Record)); ++i) {
    Fill(&records[i], answer.records[i]);
  }
  *size = answer.size;
  *count = answer.count;
  return answer.result;
}

template <int L>
DWORD WINAPI RasValidateEntryNameA(const char* phoneBook, const char*) {
  return Log<L>("RasValidateEntryNameA", phoneBook);
}

template <int L>
DWORD WINAPI RasSetEntryPropertiesA(const char* phoneBook, const char*, RASENTRYA*, DWORD, BYTE*,
                                    DWORD) {
  return Log<L>("RasSetEntryPropertiesA", phoneBook);
}

// The warm-up call of Load, RasGetEntryPropertiesA("", null, &0, null, &x), logs itself as such.
template <int L>
DWORD WINAPI RasGetEntryPropertiesA(const char* phoneBook, const char* name, RASENTRYA* entry,
                                    DWORD* entrySize, BYTE* deviceInfo, DWORD* deviceInfoSize) {
  const bool warmUp = std::strcmp(name, "") == 0 && entry == nullptr && *entrySize == 0 &&
                      deviceInfo == nullptr && deviceInfoSize != nullptr;
  return Log<L>(warmUp ? "RasGetEntryPropertiesA warm-up" : "RasGetEntryPropertiesA", phoneBook);
}

template <int L>
DWORD WINAPI RasDialA(RASDIALEXTENSIONS*, const char* phoneBook, RASDIALPARAMSA*,
                      DWORD notifierType, void* notifier, HRASCONN* connection) {
  const DWORD result = Log<L>("RasDialA", phoneBook);
  Fake().notifierType = notifierType;
  Fake().notifier = reinterpret_cast<RASDIALFUNC1>(notifier);
  if (result == 0) {
    *connection = Fake().connection;
  }
  if (Fake().duringDial) {
    Fake().duringDial();
  }
  return result;
}

template <int L>
DWORD WINAPI RasGetConnectStatusA(HRASCONN, RASCONNSTATUSA* status) {
  const DWORD result = Log<L>("RasGetConnectStatusA");
  if (result != 0 || status->dwSize != sizeof(RASCONNSTATUSA)) {
    return result != 0 ? result : ERROR_INVALID_SIZE;
  }
  *status = Fake().status;
  return 0;
}

template <int L>
DWORD WINAPI RasHangUpA(HRASCONN connection) {
  Fake().hungUp.push_back(connection);
  return Log<L>("RasHangUpA");
}

template <int L>
DWORD WINAPI RasEnumDevicesA(RASDEVINFOA* devices, DWORD* size, DWORD* count) {
  Log<L>("RasEnumDevicesA");
  return AnswerList(devices, size, count);
}

template <int L>
DWORD WINAPI RasEnumEntriesA(const char*, const char* phoneBook, RASENTRYNAMEA* entries,
                             DWORD* size, DWORD* count) {
  Log<L>("RasEnumEntriesA", phoneBook);
  return AnswerList(entries, size, count);
}

template <int L>
EntryPoint ExportOf(const std::string& name) {
  static const std::map<std::string, EntryPoint> exports = {
      {"RasValidateEntryNameA", reinterpret_cast<EntryPoint>(&RasValidateEntryNameA<L>)},
      {"RasGetEntryPropertiesA", reinterpret_cast<EntryPoint>(&RasGetEntryPropertiesA<L>)},
      {"RasSetEntryPropertiesA", reinterpret_cast<EntryPoint>(&RasSetEntryPropertiesA<L>)},
      {"RasEnumDevicesA", reinterpret_cast<EntryPoint>(&RasEnumDevicesA<L>)},
      {"RasGetConnectStatusA", reinterpret_cast<EntryPoint>(&RasGetConnectStatusA<L>)},
      {"RasHangUpA", reinterpret_cast<EntryPoint>(&RasHangUpA<L>)},
      {"RasDialA", reinterpret_cast<EntryPoint>(&RasDialA<L>)},
      {"RasEnumEntriesA", reinterpret_cast<EntryPoint>(&RasEnumEntriesA<L>)},
  };
  const auto found = exports.find(name);
  return found != exports.end() ? found->second : nullptr;
}

}  // namespace fake

enum FakeLibrary { kMissing, kComplete, kIncomplete, kBare };

// Installs itself as the loader in use for its lifetime, with a fresh FakeService.
class CFakeLibraryLoader final : public CLibraryLoader {
 public:
  CFakeLibraryLoader() : previous_(ReplaceLibraryLoader(this)) { Fake() = FakeService(); }
  ~CFakeLibraryLoader() { ReplaceLibraryLoader(previous_); }
  CFakeLibraryLoader(const CFakeLibraryLoader&) = delete;
  CFakeLibraryLoader& operator=(const CFakeLibraryLoader&) = delete;

  // Makes "rasapi32.dll" or "altras.dll" loadable but for a missing one, a complete one exporting
  // the functions the tests reach (the entry, device, list and dial functions), an incomplete one
  // all but RasGetEntryPropertiesA, a bare one none of the other functions the tool uses.
  void Offer(const std::string& library, FakeLibrary kind = kComplete) {
    const std::set<std::string> lacking[] = {
        {}, {}, {"RasGetEntryPropertiesA"}, {"RasSetEntryPropertiesA", "RasEnumDevicesA"}};
    if (kind != kMissing) {
      offered_[library] = lacking[kind];
    }
  }

  LibraryHandle LoadByName(const char* fileName) override {
    ++loads[fileName];
    const auto found = offered_.find(fileName);
    return found != offered_.end() ? reinterpret_cast<LibraryHandle>(&*found) : nullptr;
  }
  EntryPoint FindEntryPoint(LibraryHandle handle, const char* exportName) override {
    const auto& [library, missing] = *reinterpret_cast<Offered*>(handle);
    if (missing.count(exportName) != 0) {
      return nullptr;
    }
    return library == fake::kLibraries[0] ? fake::ExportOf<0>(exportName)
                                          : fake::ExportOf<1>(exportName);
  }
  void Release(LibraryHandle handle) override {
    released.push_back(reinterpret_cast<Offered*>(handle)->first);
  }

  std::map<std::string, int> loads;   // by file name
  std::vector<std::string> released;  // file names, in order

 private:
  using Offered = std::pair<const std::string, std::set<std::string>>;

  std::map<std::string, std::set<std::string>> offered_;  // file name to missing exports
  CLibraryLoader* previous_;
};
