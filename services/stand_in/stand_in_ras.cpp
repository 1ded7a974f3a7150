// The stand-in Remote Access Service's operations behind the fifteen functions: a failure
// ordered in failures.txt comes first, and the work is done on the phone book, which is read
// afresh on every call and rewritten whole when it changes.
#include "stand_in_ras.h"

#include <cstring>
#include <mutex>
#include <string>
#include <vector>

#include "base/critical_section.h"
#include "base/text.h"
#include "entry/entry_record.h"
#include "phone_book_file.h"
#include "platform/paths.h"
#include "platform/ras_service.h"
#include "platform/result_codes.h"
#include "service_answers.h"
#include "service_files.h"
#include "service_operations.h"
#include "stand_in_credentials.h"
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

DWORD ValidateName(const char* phoneBook, const char* entryName) {
  LockedPhoneBook stored(phoneBook);
  if (!stored.opened) {
    return ERROR_CANNOT_OPEN_PHONEBOOK;
  }
  return FindStoredEntry(stored.book, entryName) != nullptr ? ERROR_ALREADY_EXISTS : 0;
}

DWORD RenameEntry(const char* phoneBook, const char* oldName, const char* newName) {
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

DWORD DeleteEntry(const char* phoneBook, const char* entryName) {
  LockedPhoneBook stored(phoneBook);
  if (!stored.opened) {
    return ERROR_CANNOT_OPEN_PHONEBOOK;
  }
  const StoredEntry* entry = FindStoredEntry(stored.book, entryName);
  if (entry == nullptr) {
    return ERROR_CANNOT_FIND_PHONEBOOK_ENTRY;
  }
  stored.book.erase(stored.book.begin() + (entry - stored.book.data()));
  // Credentials are kept for an entry, never beyond it.
  if (!RemoveCredentials(ServiceFilePath("credentials.txt"), entryName)) {
    return ERROR_CANNOT_WRITE_PHONEBOOK;
  }
  return stored.Write();
}

// A phone book that cannot be read holds no entries.
DWORD ReadEntry(const char* phoneBook, const char* entryName, LongEntryRecord* record) {
  LockedPhoneBook stored(phoneBook);
  const StoredEntry* named = FindStoredEntry(stored.book, entryName);
  if (named == nullptr) {
    return ERROR_CANNOT_FIND_PHONEBOOK_ENTRY;
  }
  *record = named->Whole();
  return 0;
}

DWORD StoreEntry(const char* phoneBook, const char* entryName, const LongEntryRecord& entry,
                 DWORD size) {
  LockedPhoneBook stored(phoneBook);
  if (!stored.opened) {
    return ERROR_CANNOT_OPEN_PHONEBOOK;
  }
  // An existing entry keeps the spelling it was stored under, and its fields beyond the record.
  StoredEntry* named = FindStoredEntry(stored.book, entryName);
  if (named == nullptr) {
    stored.book.push_back(StoredEntry{entryName, {}});
    named = &stored.book.back();
  }
  LongEntryRecord whole = named->Whole();
  std::memcpy(&whole, &entry, size);
  whole.base.dwSize = kEntryRecordSize;
  named->Keep(whole);
  RASENTRYA& record = named->record;
  // A country code of 0 asks for the code of the country, as the platform's service fills it
  // in: the one field here that the service keeps otherwise than it was given.
  for (const Country& country : kCountries) {
    if (record.dwCountryCode == 0 && country.id == record.dwCountryID) {
      record.dwCountryCode = country.code;
    }
  }
  return stored.Write();
}

DWORD ReadCountry(RASCTRYINFO* country, DWORD* size) {
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

DWORD ListEntries(const char* phoneBook, std::vector<std::string>* names) {
  LockedPhoneBook stored(phoneBook, Opening::kMissingFails);
  if (!stored.opened) {
    return ERROR_CANNOT_OPEN_PHONEBOOK;
  }
  for (const StoredEntry& entry : stored.book) {
    names->push_back(entry.name);
  }
  return 0;
}

DWORD PrepareDial(const char* phoneBook, const char* entryName, const RASDIALPARAMSA&,
                  ServiceDial* dial) {
  {
    LockedPhoneBook stored(phoneBook);
    const StoredEntry* entry = FindStoredEntry(stored.book, entryName);
    if (entry == nullptr) {
      return ERROR_CANNOT_FIND_PHONEBOOK_ENTRY;
    }
    dial->deviceType = entry->record.szDeviceType;
    dial->deviceName = entry->record.szDeviceName;
  }
  dial->progress = ScriptedDial(OrderedDialOutcome(entryName));
  return 0;
}

DWORD StoreCredentials(const char*, const char* entryName, const RASCREDENTIALSA& credentials) {
  // Every user's credentials, which Windows 2000 and a user who is no administrator are refused:
  // failures.txt orders that refusal as "RasSetCredentialsA DefaultCreds=CODE".
  if ((credentials.dwMask & RASCM_DefaultCreds) != 0) {
    if (const DWORD refused = OrderedFailure("RasSetCredentialsA DefaultCreds")) {
      return refused;
    }
  }
  const std::lock_guard<CCriticalSection> lock(g_phoneBookLock);
  return UpdateCredentialsFile(ServiceFilePath("credentials.txt"), entryName, credentials);
}

constexpr ServiceOperations kStandIn = {
    .orderedFailure = [](const char* function) -> DWORD { return OrderedFailure(function); },
    .takesName = IsPlatformEntryName,
    .validateName = ValidateName,
    .renameEntry = RenameEntry,
    .deleteEntry = DeleteEntry,
    .takesRecordSize = TakesPlayedWindowsSize,
    .readEntry = ReadEntry,
    .storeEntry = StoreEntry,
    // It keeps no alternate numbers: their list is empty.
    .answersAlternates = true,
    .readCountry = ReadCountry,
    .findDevices = ReadInstalledDevices,
    .listEntries = ListEntries,
    .prepareDial = PrepareDial,
    .storeCredentials = StoreCredentials,
};

}  // namespace

const ServiceOperations& ThisService() {
  return kStandIn;
}

const char* WINAPI StandInLibraryName() {
  return DIALKIT_STAND_IN_LIBRARY_NAME;
}
