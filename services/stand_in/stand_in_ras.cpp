// The stand-in Remote Access Service's functions. Every function first looks for a failure
// ordered in failures.txt, then checks its arguments in the platform's order (missing
// pointers, record sizes, buffer sizes), then does its work on the phone book, which it reads
// afresh on every call and rewrites whole when it changes.
#include "stand_in_ras.h"

#include <cstring>
#include <mutex>
#include <string>

#include "base/critical_section.h"
#include "base/text.h"
#include "entry/entry_record.h"
#include "phone_book_file.h"
#include "platform/library_loader.h"
#include "platform/paths.h"
#include "platform/ras_service.h"
#include "platform/result_codes.h"
#include "service_answers.h"
#include "service_files.h"
#include "stand_in_dial.h"

namespace {

// One reader or writer of a phone book at a time within the process; the platform's service
// serialises its callers the same way.
CCriticalSection g_phoneBookLock;

std::string PhoneBookPath(const char* phoneBook) {
  return phoneBook != nullptr ? phoneBook : ServiceFilePath("rasphone.pbk");
}

enum class Opening { kMissingIsEmpty, kMissingFails };

// Reads the phone book. A file that does not exist reads as an empty phone book unless the
// caller needs the file itself; one that exists but cannot be read always fails.
bool OpenPhoneBook(const std::string& path, Opening opening, PhoneBook* book) {
  if (ReadPhoneBook(path, book)) {
    return true;
  }
  book->clear();
  return opening == Opening::kMissingIsEmpty && !path.empty() && !PathExists(path.c_str());
}

// A phone book read under the lock, which is held until the call is done, so that a change is
// written over exactly what was read. A book that could not be opened holds no entries.
struct LockedPhoneBook {
  explicit LockedPhoneBook(const char* phoneBook, Opening opening = Opening::kMissingIsEmpty)
      : lock(g_phoneBookLock), path(PhoneBookPath(phoneBook)) {
    opened = OpenPhoneBook(path, opening, &book);
  }
  DWORD Write() const { return WritePhoneBook(path, book) ? 0 : ERROR_CANNOT_WRITE_PHONEBOOK; }

  std::lock_guard<CCriticalSection> lock;
  const std::string path;
  PhoneBook book;
  bool opened = false;
};

struct Country {
  DWORD id;
  DWORD code;
  const char* name;
};

// A small table in the order of its identifiers; each entry names the next.
constexpr Country kCountries[] = {
    {1, 1, "United States of America"},
    {31, 31, "Netherlands"},
    {33, 33, "France"},
    {41, 41, "Switzerland"},
    {43, 43, "Austria"},
    {44, 44, "United Kingdom"},
    {49, 49, "Germany"},
    {61, 61, "Australia"},
    {81, 81, "Japan"},
};

}  // namespace

extern "C" {

const char* WINAPI StandInLibraryName() {
  return DIALKIT_STAND_IN_LIBRARY_NAME;
}

DWORD WINAPI RasValidateEntryNameA(const char* phoneBook, const char* entryName) {
  if (const uint32_t failure = OrderedFailure("RasValidateEntryNameA")) {
    return failure;
  }
  if (const DWORD refused = CheckEntryName(entryName, NameUse::kNamesNew, IsPlatformEntryName)) {
    return refused;
  }
  LockedPhoneBook stored(phoneBook);
  if (!stored.opened) {
    return ERROR_CANNOT_OPEN_PHONEBOOK;
  }
  return FindStoredEntry(stored.book, entryName) != nullptr ? ERROR_ALREADY_EXISTS : 0;
}

DWORD WINAPI RasRenameEntryA(const char* phoneBook, const char* oldName, const char* newName) {
  if (const uint32_t failure = OrderedFailure("RasRenameEntryA")) {
    return failure;
  }
  if (oldName == nullptr) {
    return ERROR_INVALID_PARAMETER;
  }
  if (const DWORD refused = CheckEntryName(newName, NameUse::kNamesNew, IsPlatformEntryName)) {
    return refused;
  }
  if (const DWORD refused = CheckEntryName(oldName, NameUse::kFindsExisting, IsPlatformEntryName)) {
    return refused;
  }
  LockedPhoneBook stored(phoneBook);
  if (!stored.opened) {
    return ERROR_CANNOT_OPEN_PHONEBOOK;
  }
  StoredEntry* entry = FindStoredEntry(stored.book, oldName);
  if (entry == nullptr) {
    return ERROR_CANNOT_FIND_PHONEBOOK_ENTRY;
  }
  // Renaming an entry to another letter case of its own name is allowed.
  const StoredEntry* holder = FindStoredEntry(stored.book, newName);
  if (holder != nullptr && holder != entry) {
    return ERROR_ALREADY_EXISTS;
  }
  entry->name = newName;
  return stored.Write();
}

DWORD WINAPI RasDeleteEntryA(const char* phoneBook, const char* entryName) {
  if (const uint32_t failure = OrderedFailure("RasDeleteEntryA")) {
    return failure;
  }
  if (const DWORD refused =
          CheckEntryName(entryName, NameUse::kFindsExisting, IsPlatformEntryName)) {
    return refused;
  }
  LockedPhoneBook stored(phoneBook);
  if (!stored.opened) {
    return ERROR_CANNOT_OPEN_PHONEBOOK;
  }
  const StoredEntry* entry = FindStoredEntry(stored.book, entryName);
  if (entry == nullptr) {
    return ERROR_CANNOT_FIND_PHONEBOOK_ENTRY;
  }
  stored.book.erase(stored.book.begin() + (entry - stored.book.data()));
  return stored.Write();
}

DWORD WINAPI RasGetEntryPropertiesA(const char* phoneBook, const char* entryName, RASENTRYA* entry,
                                    DWORD* entrySize, BYTE*, DWORD* deviceInfoSize) {
  if (const uint32_t failure = OrderedFailure("RasGetEntryPropertiesA")) {
    return failure;
  }
  if (entrySize == nullptr) {
    return ERROR_INVALID_PARAMETER;
  }
  if (entry != nullptr && entry->dwSize != kEntryRecordSize) {
    return ERROR_INVALID_SIZE;
  }
  RASENTRYA found = DefaultEntryRecord();
  if (entryName != nullptr && *entryName != '\0') {
    if (const DWORD refused =
            CheckEntryName(entryName, NameUse::kFindsExisting, IsPlatformEntryName)) {
      return refused;
    }
    LockedPhoneBook stored(phoneBook);
    const StoredEntry* named = FindStoredEntry(stored.book, entryName);
    if (named == nullptr) {
      return ERROR_CANNOT_FIND_PHONEBOOK_ENTRY;
    }
    found = named->record;
  }
  if (found.dwAlternateOffset == 0) {
    return AnswerEntryRecord(found, entry, entrySize, deviceInfoSize);
  }
  // An entry with alternate numbers needs room for their list after the record, as the
  // platform's entries do. The stand-in keeps no numbers: the list it answers is empty.
  constexpr DWORD kWithAlternates = kEntryRecordSize + 2;
  if (deviceInfoSize != nullptr) {
    *deviceInfoSize = 0;
  }
  if (entry == nullptr || *entrySize < kWithAlternates) {
    *entrySize = kWithAlternates;
    return ERROR_BUFFER_TOO_SMALL;
  }
  *entry = found;
  entry->dwAlternateOffset = kEntryRecordSize;
  std::memset(reinterpret_cast<BYTE*>(entry) + kEntryRecordSize, 0, 2);
  *entrySize = kWithAlternates;
  return 0;
}

DWORD WINAPI RasSetEntryPropertiesA(const char* phoneBook, const char* entryName, RASENTRYA* entry,
                                    DWORD entrySize, BYTE*, DWORD) {
  if (const uint32_t failure = OrderedFailure("RasSetEntryPropertiesA")) {
    return failure;
  }
  if (const DWORD refused = CheckStoreArguments(entryName, entry, entrySize, IsPlatformEntryName)) {
    return refused;
  }
  LockedPhoneBook stored(phoneBook);
  if (!stored.opened) {
    return ERROR_CANNOT_OPEN_PHONEBOOK;
  }
  // A country code of 0 asks for the code of the country, as the platform's service fills it
  // in: the one field here that the service keeps otherwise than it was given.
  RASENTRYA record = *entry;
  for (const Country& country : kCountries) {
    if (record.dwCountryCode == 0 && country.id == record.dwCountryID) {
      record.dwCountryCode = country.code;
    }
  }
  // An existing entry keeps the spelling it was stored under.
  if (StoredEntry* named = FindStoredEntry(stored.book, entryName)) {
    named->record = record;
  } else {
    stored.book.push_back(StoredEntry{entryName, record});
  }
  return stored.Write();
}

DWORD WINAPI RasGetCountryInfoA(RASCTRYINFO* country, DWORD* size) {
  if (const uint32_t failure = OrderedFailure("RasGetCountryInfoA")) {
    return failure;
  }
  if (country == nullptr || size == nullptr) {
    return ERROR_INVALID_PARAMETER;
  }
  if (country->dwSize != sizeof(RASCTRYINFO)) {
    return ERROR_INVALID_SIZE;
  }
  const size_t count = sizeof kCountries / sizeof kCountries[0];
  for (size_t i = 0; i < count; ++i) {
    if (kCountries[i].id != country->dwCountryID) {
      continue;
    }
    const size_t nameSize = std::strlen(kCountries[i].name) + 1;
    const DWORD needed = static_cast<DWORD>(sizeof(RASCTRYINFO) + nameSize);
    if (*size < needed) {
      *size = needed;
      return ERROR_BUFFER_TOO_SMALL;
    }
    country->dwNextCountryID = i + 1 < count ? kCountries[i + 1].id : 0;
    country->dwCountryCode = kCountries[i].code;
    country->dwCountryNameOffset = sizeof(RASCTRYINFO);
    CopyText(reinterpret_cast<char*>(country + 1), nameSize, kCountries[i].name);
    *size = needed;
    return 0;
  }
  return ERROR_INVALID_PARAMETER;
}

DWORD WINAPI RasEnumDevicesA(RASDEVINFOA* devices, DWORD* size, DWORD* count) {
  if (const uint32_t failure = OrderedFailure("RasEnumDevicesA")) {
    return failure;
  }
  if (size == nullptr || count == nullptr) {
    return ERROR_INVALID_PARAMETER;
  }
  if (devices != nullptr && devices->dwSize != sizeof(RASDEVINFOA)) {
    return ERROR_INVALID_SIZE;
  }
  return AnswerRecords(ReadInstalledDevices(), devices, size, count);
}

DWORD WINAPI RasGetConnectStatusA(HRASCONN connection, RASCONNSTATUSA* status) {
  if (const uint32_t failure = OrderedFailure("RasGetConnectStatusA")) {
    return failure;
  }
  return ReadDialStatus(connection, status);
}

DWORD WINAPI RasHangUpA(HRASCONN connection) {
  if (const uint32_t failure = OrderedFailure("RasHangUpA")) {
    return failure;
  }
  return EndDial(connection);
}

DWORD WINAPI RasDialA(RASDIALEXTENSIONS*, const char* phoneBook, RASDIALPARAMSA* parameters,
                      DWORD notifierType, void* notifier, HRASCONN* connection) {
  if (const uint32_t failure = OrderedFailure("RasDialA")) {
    return failure;
  }
  if (parameters == nullptr || connection == nullptr) {
    return ERROR_INVALID_PARAMETER;
  }
  if (parameters->dwSize != sizeof(RASDIALPARAMSA)) {
    return ERROR_INVALID_SIZE;
  }
  const std::string entryName(FieldText(parameters->szEntryName));
  if (const DWORD refused =
          CheckEntryName(entryName.c_str(), NameUse::kFindsExisting, IsPlatformEntryName)) {
    return refused;
  }
  std::string deviceType;
  std::string deviceName;
  {
    LockedPhoneBook stored(phoneBook);
    const StoredEntry* entry = FindStoredEntry(stored.book, entryName);
    if (entry == nullptr) {
      return ERROR_CANNOT_FIND_PHONEBOOK_ENTRY;
    }
    deviceType = entry->record.szDeviceType;
    deviceName = entry->record.szDeviceName;
  }
  return StartDial(ScriptedDial(OrderedDialOutcome(entryName.c_str())), deviceType, deviceName,
                   notifierType, notifier, connection,
                   [] { PlatformLibraryLoader().LoadByName(DIALKIT_STAND_IN_LIBRARY_NAME); });
}

DWORD WINAPI RasEditPhonebookEntryA(HWND, const char* phoneBook, const char* entryName) {
  if (const uint32_t failure = OrderedFailure("RasEditPhonebookEntryA")) {
    return failure;
  }
  if (const DWORD refused =
          CheckEntryName(entryName, NameUse::kFindsExisting, IsPlatformEntryName)) {
    return refused;
  }
  // There is no dialog to show: the entry is left as it is.
  LockedPhoneBook stored(phoneBook);
  return FindStoredEntry(stored.book, entryName) != nullptr ? 0 : ERROR_CANNOT_FIND_PHONEBOOK_ENTRY;
}

DWORD WINAPI RasEnumEntriesA(const char* reserved, const char* phoneBook, RASENTRYNAMEA* entries,
                             DWORD* size, DWORD* count) {
  if (const uint32_t failure = OrderedFailure("RasEnumEntriesA")) {
    return failure;
  }
  if (reserved != nullptr || size == nullptr || count == nullptr) {
    return ERROR_INVALID_PARAMETER;
  }
  if (entries != nullptr && entries->dwSize != sizeof(RASENTRYNAMEA)) {
    return ERROR_INVALID_SIZE;
  }
  LockedPhoneBook stored(phoneBook, Opening::kMissingFails);
  if (!stored.opened) {
    return ERROR_CANNOT_OPEN_PHONEBOOK;
  }
  std::vector<RASENTRYNAMEA> names(stored.book.size());
  for (size_t i = 0; i < names.size(); ++i) {
    names[i].dwSize = sizeof(RASENTRYNAMEA);
    CopyText(names[i].szEntryName, stored.book[i].name.c_str());
  }
  return AnswerRecords(names, entries, size, count);
}

DWORD WINAPI RasGetErrorStringA(UINT code, char* buffer, DWORD size) {
  if (const uint32_t failure = OrderedFailure("RasGetErrorStringA")) {
    return failure;
  }
  return AnswerErrorString(code, buffer, size);
}

}  // extern "C"
