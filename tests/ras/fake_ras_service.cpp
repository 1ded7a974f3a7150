#include "ras/fake_ras_service.h"

#include <algorithm>
#include <cstring>

#include "entry/entry_record.h"
#include "framework/text.h"

namespace {

const char* const kLibraries[] = {"rasapi32.dll", "altras.dll"};

template <int L>
DWORD Log(const char* function, const char* phoneBook = nullptr) {
  Fake().calls.push_back(std::string(kLibraries[L]) + ":" + function);
  Fake().phoneBook = phoneBook;
  Fake().lastCallWasWarmUp = false;
  return Fake().result;
}

void FillRecord(RASDEVINFOA* device, const std::vector<std::string>& fields) {
  CopyText(device->szDeviceType, fields.at(0).c_str());
  CopyText(device->szDeviceName, fields.at(1).c_str());
}

void FillRecord(RASENTRYNAMEA* entry, const std::vector<std::string>& fields) {
  CopyText(entry->szEntryName, fields.at(0).c_str());
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
    FillRecord(&records[i], answer.records[i]);
  }
  *size = answer.size;
  *count = answer.count;
  return answer.result;
}

template <int L>
DWORD WINAPI ValidateEntryName(const char* phoneBook, const char*) {
  return Log<L>("RasValidateEntryNameA", phoneBook);
}
template <int L>
DWORD WINAPI RenameEntry(const char* phoneBook, const char*, const char*) {
  return Log<L>("RasRenameEntryA", phoneBook);
}
template <int L>
DWORD WINAPI DeleteEntry(const char* phoneBook, const char*) {
  return Log<L>("RasDeleteEntryA", phoneBook);
}
template <int L>
DWORD WINAPI GetEntryProperties(const char* phoneBook, const char* name, RASENTRYA* entry,
                                DWORD* entrySize, BYTE* deviceInfo, DWORD* deviceInfoSize) {
  const DWORD result = Log<L>("RasGetEntryPropertiesA", phoneBook);
  Fake().lastCallWasWarmUp = std::strcmp(name, "") == 0 && entry == nullptr &&
                             entrySize != nullptr && *entrySize == 0 && deviceInfo == nullptr &&
                             deviceInfoSize != nullptr;
  return result;
}
template <int L>
DWORD WINAPI SetEntryProperties(const char* phoneBook, const char*, RASENTRYA*, DWORD, BYTE*,
                                DWORD) {
  return Log<L>("RasSetEntryPropertiesA", phoneBook);
}
template <int L>
DWORD WINAPI GetCountryInfo(RASCTRYINFO*, DWORD*) {
  return Log<L>("RasGetCountryInfoA");
}
template <int L>
DWORD WINAPI EnumDevices(RASDEVINFOA* devices, DWORD* size, DWORD* count) {
  Log<L>("RasEnumDevicesA");
  return AnswerList(devices, size, count);
}
template <int L>
DWORD WINAPI GetConnectStatus(HRASCONN, RASCONNSTATUSA*) {
  return Log<L>("RasGetConnectStatusA");
}
template <int L>
DWORD WINAPI HangUp(HRASCONN) {
  return Log<L>("RasHangUpA");
}
template <int L>
DWORD WINAPI Dial(RASDIALEXTENSIONS*, const char* phoneBook, RASDIALPARAMSA*, DWORD, void*,
                  HRASCONN*) {
  return Log<L>("RasDialA", phoneBook);
}
template <int L>
DWORD WINAPI EditPhonebookEntry(HWND, const char* phoneBook, const char*) {
  return Log<L>("RasEditPhonebookEntryA", phoneBook);
}
template <int L>
DWORD WINAPI EnumEntries(const char*, const char* phoneBook, RASENTRYNAMEA* entries, DWORD* size,
                         DWORD* count) {
  Log<L>("RasEnumEntriesA", phoneBook);
  return AnswerList(entries, size, count);
}
template <int L>
DWORD WINAPI GetErrorString(UINT, char*, DWORD) {
  return Log<L>("RasGetErrorStringA");
}

template <typename Function>
EntryPoint AsEntryPoint(Function function) {
  return reinterpret_cast<EntryPoint>(function);
}

struct Export {
  const char* name;
  EntryPoint functions[2];
};

#define DIALKIT_FAKE_EXPORT(name, function)                  \
  {                                                          \
    name, {                                                  \
      AsEntryPoint(&function<0>), AsEntryPoint(&function<1>) \
    }                                                        \
  }

const Export kExports[] = {
    DIALKIT_FAKE_EXPORT("RasValidateEntryNameA", ValidateEntryName),
    DIALKIT_FAKE_EXPORT("RasRenameEntryA", RenameEntry),
    DIALKIT_FAKE_EXPORT("RasDeleteEntryA", DeleteEntry),
    DIALKIT_FAKE_EXPORT("RasGetEntryPropertiesA", GetEntryProperties),
    DIALKIT_FAKE_EXPORT("RasSetEntryPropertiesA", SetEntryProperties),
    DIALKIT_FAKE_EXPORT("RasGetCountryInfoA", GetCountryInfo),
    DIALKIT_FAKE_EXPORT("RasEnumDevicesA", EnumDevices),
    DIALKIT_FAKE_EXPORT("RasGetConnectStatusA", GetConnectStatus),
    DIALKIT_FAKE_EXPORT("RasHangUpA", HangUp),
    DIALKIT_FAKE_EXPORT("RasDialA", Dial),
    DIALKIT_FAKE_EXPORT("RasEditPhonebookEntryA", EditPhonebookEntry),
    DIALKIT_FAKE_EXPORT("RasEnumEntriesA", EnumEntries),
    DIALKIT_FAKE_EXPORT("RasGetErrorStringA", GetErrorString),
};

#undef DIALKIT_FAKE_EXPORT

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
  offered_[library] = Library{library, std::move(missing)};
}

int CFakeLibraryLoader::Loads(const std::string& library) const {
  const auto found = loads_.find(library);
  return found != loads_.end() ? found->second : 0;
}

LibraryHandle CFakeLibraryLoader::LoadByName(const char* fileName) {
  ++loads_[fileName];
  const auto found = offered_.find(fileName);
  return found != offered_.end() ? reinterpret_cast<LibraryHandle>(&found->second) : nullptr;
}

EntryPoint CFakeLibraryLoader::FindEntryPoint(LibraryHandle handle, const char* exportName) {
  const Library& library = *reinterpret_cast<Library*>(handle);
  if (library.missing.count(exportName) != 0) {
    return nullptr;
  }
  const int index = library.name == kLibraries[0] ? 0 : 1;
  for (const Export& entry : kExports) {
    if (std::strcmp(entry.name, exportName) == 0) {
      return entry.functions[index];
    }
  }
  return nullptr;
}

void CFakeLibraryLoader::Release(LibraryHandle handle) {
  released_.push_back(reinterpret_cast<Library*>(handle)->name);
}
