#include "ras/fake_ras_service.h"

#include <algorithm>
#include <cstring>

#include "entry/entry_record.h"
#include "framework/text.h"
#include "platform/result_codes.h"

namespace {

const char* const kLibraries[] = {"rasapi32.dll", "altras.dll"};

template <int L>
DWORD Log(const char* function, const char* phoneBook = nullptr) {
  if (Fake().logCalls) {
    Fake().calls.push_back(std::string(kLibraries[L]) + ":" + function);
  }
  Fake().phoneBook = phoneBook;
  return Fake().result;
}

void Fill(RASDEVINFOA* device, const std::string& record) {
  const size_t slash = record.find('/');
  CopyText(device->szDeviceType, record.substr(0, slash).c_str());
  CopyText(device->szDeviceName, record.substr(slash + 1).c_str());
}

void Fill(RASENTRYNAMEA* entry, const std::string& record) {
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
  const size_t fitting = std::min<size_t>(answer.records.size(), *size / sizeof(Record));
  for (size_t i = 0; i < fitting; ++i) {
    Fill(&records[i], answer.records[i]);
  }
  *size = answer.size;
  *count = answer.count;
  return answer.result;
}

// A fake that only logs its call and answers FakeService::result; `book` is its phone book.
#define DIALKIT_FAKE(function, book, ...)    \
  template <int L>                           \
  DWORD WINAPI Fake##function(__VA_ARGS__) { \
    return Log<L>(#function, book);          \
  }

DIALKIT_FAKE(RasValidateEntryNameA, phoneBook, const char* phoneBook, const char*)
DIALKIT_FAKE(RasSetEntryPropertiesA, phoneBook, const char* phoneBook, const char*, RASENTRYA*,
             DWORD, BYTE*, DWORD)

#undef DIALKIT_FAKE

// The warm-up call of Load, RasGetEntryPropertiesA("", null, &0, null, &x), logs itself as such.
template <int L>
DWORD WINAPI FakeRasGetEntryPropertiesA(const char* phoneBook, const char* name, RASENTRYA* entry,
                                        DWORD* entrySize, BYTE* deviceInfo, DWORD* deviceInfoSize) {
  const bool warmUp = std::strcmp(name, "") == 0 && entry == nullptr && *entrySize == 0 &&
                      deviceInfo == nullptr && deviceInfoSize != nullptr;
  return Log<L>(warmUp ? "RasGetEntryPropertiesA warm-up" : "RasGetEntryPropertiesA", phoneBook);
}

template <int L>
DWORD WINAPI FakeRasDialA(RASDIALEXTENSIONS*, const char* phoneBook, RASDIALPARAMSA*,
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
DWORD WINAPI FakeRasGetConnectStatusA(HRASCONN, RASCONNSTATUSA* status) {
  const DWORD result = Log<L>("RasGetConnectStatusA");
  if (result != 0 || status->dwSize != sizeof(RASCONNSTATUSA)) {
    return result != 0 ? result : ERROR_INVALID_SIZE;
  }
  *status = Fake().status;
  status->dwSize = sizeof(RASCONNSTATUSA);
  return 0;
}

template <int L>
DWORD WINAPI FakeRasHangUpA(HRASCONN connection) {
  Fake().hungUp.push_back(connection);
  return Log<L>("RasHangUpA");
}

template <int L>
DWORD WINAPI FakeRasEnumDevicesA(RASDEVINFOA* devices, DWORD* size, DWORD* count) {
  Log<L>("RasEnumDevicesA");
  return AnswerList(devices, size, count);
}

template <int L>
DWORD WINAPI FakeRasEnumEntriesA(const char*, const char* phoneBook, RASENTRYNAMEA* entries,
                                 DWORD* size, DWORD* count) {
  Log<L>("RasEnumEntriesA", phoneBook);
  return AnswerList(entries, size, count);
}

template <int L>
EntryPoint ExportOf(const std::string& name) {
  // clang-format off
#define DIALKIT_EXPORT(function) {#function, reinterpret_cast<EntryPoint>(&Fake##function<L>)}
  static const std::map<std::string, EntryPoint> exports = {
      DIALKIT_EXPORT(RasValidateEntryNameA), DIALKIT_EXPORT(RasGetEntryPropertiesA),
      DIALKIT_EXPORT(RasSetEntryPropertiesA), DIALKIT_EXPORT(RasEnumDevicesA),
      DIALKIT_EXPORT(RasGetConnectStatusA), DIALKIT_EXPORT(RasHangUpA), DIALKIT_EXPORT(RasDialA),
      DIALKIT_EXPORT(RasEnumEntriesA)};
#undef DIALKIT_EXPORT
  // clang-format on
  const auto found = exports.find(name);
  return found != exports.end() ? found->second : nullptr;
}

using Offered = std::pair<const std::string, std::set<std::string>>;

}  // namespace

FakeService& Fake() {
  static FakeService service;
  return service;
}

CFakeLibraryLoader::CFakeLibraryLoader() : previous_(ReplaceLibraryLoader(this)) {
  Fake() = FakeService();
}

CFakeLibraryLoader::~CFakeLibraryLoader() {
  ReplaceLibraryLoader(previous_);
}

void CFakeLibraryLoader::Offer(const std::string& library, std::set<std::string> missing) {
  offered_[library] = std::move(missing);
}

LibraryHandle CFakeLibraryLoader::LoadByName(const char* fileName) {
  ++loads[fileName];
  const auto found = offered_.find(fileName);
  return found != offered_.end() ? reinterpret_cast<LibraryHandle>(&*found) : nullptr;
}

EntryPoint CFakeLibraryLoader::FindEntryPoint(LibraryHandle handle, const char* exportName) {
  const auto& [library, missing] = *reinterpret_cast<Offered*>(handle);
  if (missing.count(exportName) != 0) {
    return nullptr;
  }
  return library == kLibraries[0] ? ExportOf<0>(exportName) : ExportOf<1>(exportName);
}

void CFakeLibraryLoader::Release(LibraryHandle handle) {
  released.push_back(reinterpret_cast<Offered*>(handle)->first);
}
