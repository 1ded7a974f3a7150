// The Remote Access Service over pppd: the thirteen functions of platform/ras_service.h, with the
// platform's contracts (record sizes, 603 with the size needed, 623 for an entry that does not
// exist, 632 for a wrong dwSize), over the peer files of the system under PppRoot(). The phone
// book argument names no file here: the peers directory is the phone book.
// docs/pppd-service.md says what each function does.
#include <dlfcn.h>

#include <mutex>
#include <string>
#include <vector>

#include "dial_connections.h"
#include "entry/entry_record.h"
#include "framework/text.h"
#include "peer_file.h"
#include "peer_store.h"
#include "platform/ras_service.h"
#include "platform/result_codes.h"
#include "ppp_system.h"
#include "pppd_dial.h"
#include "service_answers.h"

namespace {

// One store, removal or rename at a time within the process.
std::mutex g_peersLock;

// The record of the entry `name`: a peer file that the service wrote gives its record; any other
// peer file exists, with the record of a new entry. False when there is no peer of that name.
bool ReadEntry(const std::string& root, const std::string& name, RASENTRYA* record) {
  std::string text;
  const std::string found = FindPeer(root, name);
  if (found.empty() || !ReadPeer(root, found, &text)) {
    return false;
  }
  if (!ReadPeerRecord(text, record)) {
    *record = DefaultEntryRecord();
  }
  return true;
}

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
  if (entryName == nullptr) {
    return ERROR_INVALID_PARAMETER;
  }
  if (!IsPeerName(entryName)) {
    return ERROR_INVALID_NAME;
  }
  return FindPeer(PppRoot(), entryName).empty() ? 0 : ERROR_ALREADY_EXISTS;
}

DWORD WINAPI RasRenameEntryA(const char*, const char* oldName, const char* newName) {
  if (oldName == nullptr || newName == nullptr) {
    return ERROR_INVALID_PARAMETER;
  }
  if (!IsPeerName(newName)) {
    return ERROR_INVALID_NAME;
  }
  const std::string root = PppRoot();
  const std::lock_guard<std::mutex> lock(g_peersLock);
  const std::string from = FindPeer(root, oldName);
  if (from.empty()) {
    return ERROR_CANNOT_FIND_PHONEBOOK_ENTRY;
  }
  const std::string holder = FindPeer(root, newName);
  if (!holder.empty() && holder != from) {
    return ERROR_ALREADY_EXISTS;
  }
  std::string text;
  RASENTRYA record;
  if (!ReadPeer(root, from, &text)) {
    return ERROR_CANNOT_FIND_PHONEBOOK_ENTRY;
  }
  // A peer of the service's own is written anew under its new name, chat script and all; any
  // other peer file moves as it is.
  CPeerTexts texts;
  if (ReadPeerRecord(text, &record)) {
    if (const DWORD refused = FormatPeer(newName, record, root, &texts)) {
      return refused;
    }
  } else {
    texts.peer = text;
  }
  if (const DWORD failed = StorePeer(root, newName, texts)) {
    return failed;
  }
  return from == newName ? 0 : RemovePeer(root, from);
}

DWORD WINAPI RasDeleteEntryA(const char*, const char* entryName) {
  if (entryName == nullptr) {
    return ERROR_INVALID_PARAMETER;
  }
  const std::string root = PppRoot();
  const std::lock_guard<std::mutex> lock(g_peersLock);
  const std::string found = FindPeer(root, entryName);
  return found.empty() ? ERROR_CANNOT_FIND_PHONEBOOK_ENTRY : RemovePeer(root, found);
}

DWORD WINAPI RasGetEntryPropertiesA(const char*, const char* entryName, RASENTRYA* entry,
                                    DWORD* entrySize, BYTE*, DWORD* deviceInfoSize) {
  if (entrySize == nullptr) {
    return ERROR_INVALID_PARAMETER;
  }
  if (entry != nullptr && entry->dwSize != kEntryRecordSize) {
    return ERROR_INVALID_SIZE;
  }
  RASENTRYA found = DefaultEntryRecord();
  if (entryName != nullptr && *entryName != '\0' && !ReadEntry(PppRoot(), entryName, &found)) {
    return ERROR_CANNOT_FIND_PHONEBOOK_ENTRY;
  }
  return AnswerEntryRecord(found, entry, entrySize, deviceInfoSize);
}

DWORD WINAPI RasSetEntryPropertiesA(const char*, const char* entryName, RASENTRYA* entry,
                                    DWORD entrySize, BYTE*, DWORD) {
  if (const DWORD refused = CheckStoreArguments(entryName, entry, entrySize, IsPeerName)) {
    return refused;
  }
  const std::string root = PppRoot();
  const std::lock_guard<std::mutex> lock(g_peersLock);
  // An existing peer keeps the spelling it was stored under.
  std::string name = FindPeer(root, entryName);
  if (name.empty()) {
    name = entryName;
  }
  CPeerTexts texts;
  if (const DWORD refused = FormatPeer(name, *entry, root, &texts)) {
    return refused;
  }
  return StorePeer(root, name, texts);
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
  RASENTRYA record;
  const std::string name = FindPeer(root, std::string(FieldText(parameters->szEntryName)));
  if (name.empty() || !ReadEntry(root, name, &record)) {
    return ERROR_CANNOT_FIND_PHONEBOOK_ENTRY;
  }
  const std::string password(FieldText(parameters->szPassword));
  return StartDial(
      PppdDial(SystemProgram(root, "pppd"),
               PppdArguments(root, name, std::string(FieldText(parameters->szUserName)),
                             !password.empty()),
               password),
      std::string(FieldText(record.szDeviceType)), std::string(FieldText(record.szDeviceName)),
      notifierType, notifier, connection, KeepThisLibraryLoaded);
}

DWORD WINAPI RasEditPhonebookEntryA(HWND, const char*, const char* entryName) {
  if (entryName == nullptr) {
    return ERROR_INVALID_PARAMETER;
  }
  // There is no dialog to show: the entry is left as it is.
  return FindPeer(PppRoot(), entryName).empty() ? ERROR_CANNOT_FIND_PHONEBOOK_ENTRY : 0;
}

DWORD WINAPI RasEnumEntriesA(const char* reserved, const char*, RASENTRYNAMEA* entries, DWORD* size,
                             DWORD* count) {
  if (reserved != nullptr || size == nullptr || count == nullptr) {
    return ERROR_INVALID_PARAMETER;
  }
  if (entries != nullptr && entries->dwSize != sizeof(RASENTRYNAMEA)) {
    return ERROR_INVALID_SIZE;
  }
  const std::vector<std::string> peers = ListPeers(PppRoot());
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
