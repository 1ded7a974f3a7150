// The Remote Access Service over pppd: the thirteen functions of platform/ras_service.h, with the
// platform's contracts (record sizes, 603 with the size needed, 623 for an entry that does not
// exist, 632 for a wrong dwSize), over the peer files of the system under PppRoot(). The phone
// book argument names no file here: the peers directory is the phone book.
// docs/pppd-service.md says what each function does.
#include <dlfcn.h>

#include <string>
#include <vector>

#include "base/text.h"
#include "dial_connections.h"
#include "entry/entry_record.h"
#include "peer_entries.h"
#include "peer_words.h"
#include "platform/ras_service.h"
#include "platform/result_codes.h"
#include "ppp_system.h"
#include "pppd_dial.h"
#include "service_answers.h"

namespace {

// Takes a reference to this library for the rest of the process, whatever its path.
void KeepThisLibraryLoaded() {
  Dl_info self;
  if (dladdr(reinterpret_cast<void*>(&KeepThisLibraryLoaded), &self) != 0 &&
      self.dli_fname != nullptr) {
    dlopen(self.dli_fname, RTLD_LAZY | RTLD_NODELETE);
  }
}

}  // namespace

extern "C" {

DWORD WINAPI RasValidateEntryNameA(const char*, const char* entryName) {
  if (const DWORD refused = CheckEntryName(entryName, NameUse::kNamesNew, IsPeerName)) {
    return refused;
  }
  return IsPeerFileTaken(PppRoot(), entryName) ? ERROR_ALREADY_EXISTS : 0;
}

DWORD WINAPI RasRenameEntryA(const char*, const char* oldName, const char* newName) {
  if (oldName == nullptr) {
    return ERROR_INVALID_PARAMETER;
  }
  if (const DWORD refused = CheckEntryName(newName, NameUse::kNamesNew, IsPeerName)) {
    return refused;
  }
  if (const DWORD refused = CheckEntryName(oldName, NameUse::kFindsExisting, IsPeerName)) {
    return refused;
  }
  return RenamePeerEntry(PppRoot(), oldName, newName);
}

DWORD WINAPI RasDeleteEntryA(const char*, const char* entryName) {
  if (const DWORD refused = CheckEntryName(entryName, NameUse::kFindsExisting, IsPeerName)) {
    return refused;
  }
  return DeletePeerEntry(PppRoot(), entryName);
}

DWORD WINAPI RasGetEntryPropertiesA(const char*, const char* entryName, RASENTRYA* entry,
                                    DWORD* entrySize, BYTE*, DWORD* deviceInfoSize) {
  if (entrySize == nullptr) {
    return ERROR_INVALID_PARAMETER;
  }
  if (entry != nullptr && entry->dwSize != kEntryRecordSize) {
    return ERROR_INVALID_SIZE;
  }
  CPeerEntry found;
  found.contents.record = DefaultEntryRecord();
  if (entryName != nullptr && *entryName != '\0') {
    if (const DWORD refused = CheckEntryName(entryName, NameUse::kFindsExisting, IsPeerName)) {
      return refused;
    }
    if (!FindPeerEntry(PppRoot(), entryName, &found)) {
      return ERROR_CANNOT_FIND_PHONEBOOK_ENTRY;
    }
  }
  return AnswerEntryRecord(found.contents.record, entry, entrySize, deviceInfoSize);
}

DWORD WINAPI RasSetEntryPropertiesA(const char*, const char* entryName, RASENTRYA* entry,
                                    DWORD entrySize, BYTE*, DWORD) {
  if (const DWORD refused = CheckStoreArguments(entryName, entry, entrySize, IsPeerName)) {
    return refused;
  }
  return StorePeerEntry(PppRoot(), entryName, *entry);
}

// cppcheck-suppress constParameter ; the platform's signature, which the stand-in writes through
DWORD WINAPI RasGetCountryInfoA(RASCTRYINFO* country, DWORD* size) {
  if (country == nullptr || size == nullptr) {
    return ERROR_INVALID_PARAMETER;
  }
  // Linux keeps no table of countries' dialing rules to answer from.
  return country->dwSize != sizeof(RASCTRYINFO) ? ERROR_INVALID_SIZE : ERROR_INVALID_PARAMETER;
}

DWORD WINAPI RasEnumDevicesA(RASDEVINFOA* devices, DWORD* size, DWORD* count) {
  if (size == nullptr || count == nullptr) {
    return ERROR_INVALID_PARAMETER;
  }
  if (devices != nullptr && devices->dwSize != sizeof(RASDEVINFOA)) {
    return ERROR_INVALID_SIZE;
  }
  return AnswerRecords(FindDevices(PppRoot()), devices, size, count);
}

DWORD WINAPI RasGetConnectStatusA(HRASCONN connection, RASCONNSTATUSA* status) {
  return ReadDialStatus(connection, status);
}

DWORD WINAPI RasHangUpA(HRASCONN connection) {
  return EndDial(connection);
}

DWORD WINAPI RasDialA(RASDIALEXTENSIONS*, const char*, RASDIALPARAMSA* parameters,
                      DWORD notifierType, void* notifier, HRASCONN* connection) {
  if (parameters == nullptr || connection == nullptr) {
    return ERROR_INVALID_PARAMETER;
  }
  if (parameters->dwSize != sizeof(RASDIALPARAMSA)) {
    return ERROR_INVALID_SIZE;
  }
  const std::string root = PppRoot();
  const std::string name(FieldText(parameters->szEntryName));
  if (const DWORD refused = CheckEntryName(name.c_str(), NameUse::kFindsExisting, IsPeerName)) {
    return refused;
  }
  CPeerEntry found;
  if (!FindPeerEntry(root, name, &found)) {
    return ERROR_CANNOT_FIND_PHONEBOOK_ENTRY;
  }
  // pppd obeys the file as root: whoever else may change it could put options of their own in.
  if (!found.trusted) {
    return kErrorAccessDenied;
  }
  const RASENTRYA& record = found.contents.record;
  const std::string password(FieldText(parameters->szPassword));
  return StartDial(
      PppdDial(SystemProgram(root, "pppd"),
               PppdArguments(root, found.file, std::string(FieldText(parameters->szUserName)),
                             !password.empty()),
               password),
      std::string(FieldText(record.szDeviceType)), std::string(FieldText(record.szDeviceName)),
      notifierType, notifier, connection, KeepThisLibraryLoaded);
}

DWORD WINAPI RasEditPhonebookEntryA(HWND, const char*, const char* entryName) {
  if (const DWORD refused = CheckEntryName(entryName, NameUse::kFindsExisting, IsPeerName)) {
    return refused;
  }
  // There is no dialog to show: the entry is left as it is.
  CPeerEntry found;
  return FindPeerEntry(PppRoot(), entryName, &found) ? 0 : ERROR_CANNOT_FIND_PHONEBOOK_ENTRY;
}

DWORD WINAPI RasEnumEntriesA(const char* reserved, const char*, RASENTRYNAMEA* entries, DWORD* size,
                             DWORD* count) {
  if (reserved != nullptr || size == nullptr || count == nullptr) {
    return ERROR_INVALID_PARAMETER;
  }
  if (entries != nullptr && entries->dwSize != sizeof(RASENTRYNAMEA)) {
    return ERROR_INVALID_SIZE;
  }
  const std::vector<std::string> peers = ListPeerEntries(PppRoot());
  std::vector<RASENTRYNAMEA> names(peers.size());
  for (size_t i = 0; i < names.size(); ++i) {
    names[i].dwSize = sizeof(RASENTRYNAMEA);
    CopyText(names[i].szEntryName, peers[i].c_str());
  }
  return AnswerRecords(names, entries, size, count);
}

DWORD WINAPI RasGetErrorStringA(UINT code, char* buffer, DWORD size) {
  return AnswerErrorString(code, buffer, size);
}

}  // extern "C"
