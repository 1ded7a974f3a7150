// The exported functions of every service. Each first looks for a failure the service
// was made to give, then checks its arguments in the platform's order (missing pointers, record
// sizes, names, buffer sizes), and only then asks the service (service_operations.h).
#include <cstring>
#include <string>
#include <vector>

#include "base/secret_buffer.h"
#include "base/text.h"
#include "entry/entry_record.h"
#include "platform/ras_service.h"
#include "platform/result_codes.h"
#include "service_answers.h"
#include "service_dials.h"
#include "service_operations.h"

namespace {

DWORD OrderedFailure(const char* function) {
  const ServiceOperations& service = ThisService();
  return service.orderedFailure != nullptr ? service.orderedFailure(function) : 0;
}

// What an entry point does with an entry name: name a new entry (a store, a rename's new name, the
// check of a name) or look for an existing one.
enum class NameUse { kNamesNew, kFindsExisting };

// Every entry point checks every name it is given before it touches anything: 87 for no name; for
// a name the service cannot hold, 123 where it would name a new entry and 623 where an existing
// entry is looked for, since no entry can have it.
DWORD CheckEntryName(const char* name, NameUse use) {
  if (name == nullptr) {
    return ERROR_INVALID_PARAMETER;
  }
  if (ThisService().takesName(name)) {
    return 0;
  }
  return use == NameUse::kNamesNew ? ERROR_INVALID_NAME : ERROR_CANNOT_FIND_PHONEBOOK_ENTRY;
}

constexpr DWORD kKnownCredentials =
    RASCM_UserName | RASCM_Password | RASCM_Domain | RASCM_DefaultCreds | RASCM_PreSharedKey;

bool EndsInside(const char* field, size_t capacity) {
  return std::memchr(field, '\0', capacity) != nullptr;
}

// The entry must exist: credentials are kept for an entry, never ahead of it.
DWORD StoreCredentialsOf(const char* phoneBook, const char* entryName,
                         const RASCREDENTIALSA& credentials) {
  if (const DWORD refused = CheckEntryName(entryName, NameUse::kFindsExisting)) {
    return refused;
  }
  if (!EndsInside(credentials.szUserName, sizeof credentials.szUserName) ||
      !EndsInside(credentials.szPassword, sizeof credentials.szPassword) ||
      !EndsInside(credentials.szDomain, sizeof credentials.szDomain)) {
    return ERROR_INVALID_PARAMETER;
  }
  LongEntryRecord existing;
  if (const DWORD missing = ThisService().readEntry(phoneBook, entryName, &existing)) {
    return missing;
  }
  return ThisService().storeCredentials(phoneBook, entryName, credentials);
}

// The 1768-byte record every service takes; a service of a later Windows takes longer ones too.
bool TakesRecordSize(DWORD size) {
  const ServiceOperations& service = ThisService();
  return size == kEntryRecordSize ||
         (service.takesRecordSize != nullptr && service.takesRecordSize(size));
}

}  // namespace

extern "C" {

DWORD WINAPI RasValidateEntryNameA(const char* phoneBook, const char* entryName) {
  if (const DWORD failure = OrderedFailure("RasValidateEntryNameA")) {
    return failure;
  }
  if (const DWORD refused = CheckEntryName(entryName, NameUse::kNamesNew)) {
    return refused;
  }
  return ThisService().validateName(phoneBook, entryName);
}

DWORD WINAPI RasRenameEntryA(const char* phoneBook, const char* oldName, const char* newName) {
  if (const DWORD failure = OrderedFailure("RasRenameEntryA")) {
    return failure;
  }
  if (oldName == nullptr) {
    return ERROR_INVALID_PARAMETER;
  }
  if (const DWORD refused = CheckEntryName(newName, NameUse::kNamesNew)) {
    return refused;
  }
  if (const DWORD refused = CheckEntryName(oldName, NameUse::kFindsExisting)) {
    return refused;
  }
  return ThisService().renameEntry(phoneBook, oldName, newName);
}

DWORD WINAPI RasDeleteEntryA(const char* phoneBook, const char* entryName) {
  if (const DWORD failure = OrderedFailure("RasDeleteEntryA")) {
    return failure;
  }
  if (const DWORD refused = CheckEntryName(entryName, NameUse::kFindsExisting)) {
    return refused;
  }
  return ThisService().deleteEntry(phoneBook, entryName);
}

DWORD WINAPI RasGetEntryPropertiesA(const char* phoneBook, const char* entryName, RASENTRYA* entry,
                                    DWORD* entrySize, BYTE*, DWORD* deviceInfoSize) {
  if (const DWORD failure = OrderedFailure("RasGetEntryPropertiesA")) {
    return failure;
  }
  if (entrySize == nullptr) {
    return ERROR_INVALID_PARAMETER;
  }
  const DWORD layoutSize = entry != nullptr ? entry->dwSize : kEntryRecordSize;
  if (!TakesRecordSize(layoutSize)) {
    return ERROR_INVALID_SIZE;
  }
  // The empty name asks for a new entry's record.
  LongEntryRecord found = {};
  found.base = DefaultEntryRecord();
  if (entryName != nullptr && *entryName != '\0') {
    if (const DWORD refused = CheckEntryName(entryName, NameUse::kFindsExisting)) {
      return refused;
    }
    if (const DWORD missing = ThisService().readEntry(phoneBook, entryName, &found)) {
      return missing;
    }
  }
  const bool withAlternates = found.base.dwAlternateOffset != 0 && ThisService().answersAlternates;
  return AnswerEntryRecord(found, layoutSize, withAlternates, entry, entrySize, deviceInfoSize);
}

DWORD WINAPI RasSetEntryPropertiesA(const char* phoneBook, const char* entryName, RASENTRYA* entry,
                                    DWORD entrySize, BYTE*, DWORD) {
  if (const DWORD failure = OrderedFailure("RasSetEntryPropertiesA")) {
    return failure;
  }
  if (entryName == nullptr || entry == nullptr) {
    return ERROR_INVALID_PARAMETER;
  }
  const DWORD layoutSize = entry->dwSize;
  if (!TakesRecordSize(layoutSize)) {
    return ERROR_INVALID_SIZE;
  }
  if (entrySize < layoutSize) {
    return ERROR_BUFFER_INVALID;
  }
  if (const DWORD refused = CheckEntryName(entryName, NameUse::kNamesNew)) {
    return refused;
  }
  LongEntryRecord record = {};
  std::memcpy(&record, entry, layoutSize);
  return ThisService().storeEntry(phoneBook, entryName, record, layoutSize);
}

DWORD WINAPI RasGetCountryInfoA(RASCTRYINFO* country, DWORD* size) {
  if (const DWORD failure = OrderedFailure("RasGetCountryInfoA")) {
    return failure;
  }
  if (country == nullptr || size == nullptr) {
    return ERROR_INVALID_PARAMETER;
  }
  if (country->dwSize != sizeof(RASCTRYINFO)) {
    return ERROR_INVALID_SIZE;
  }
  return ThisService().readCountry(country, size);
}

DWORD WINAPI RasEnumDevicesA(RASDEVINFOA* devices, DWORD* size, DWORD* count) {
  if (const DWORD failure = OrderedFailure("RasEnumDevicesA")) {
    return failure;
  }
  if (size == nullptr || count == nullptr) {
    return ERROR_INVALID_PARAMETER;
  }
  if (devices != nullptr && devices->dwSize != sizeof(RASDEVINFOA)) {
    return ERROR_INVALID_SIZE;
  }
  return AnswerRecords(ThisService().findDevices(), devices, size, count);
}

DWORD WINAPI RasGetConnectStatusA(HRASCONN connection, RASCONNSTATUSA* status) {
  if (const DWORD failure = OrderedFailure("RasGetConnectStatusA")) {
    return failure;
  }
  return ReadDialStatus(connection, status);
}

DWORD WINAPI RasHangUpA(HRASCONN connection) {
  if (const DWORD failure = OrderedFailure("RasHangUpA")) {
    return failure;
  }
  return EndDial(connection);
}

DWORD WINAPI RasDialA(RASDIALEXTENSIONS*, const char* phoneBook, RASDIALPARAMSA* parameters,
                      DWORD notifierType, void* notifier, HRASCONN* connection) {
  if (const DWORD failure = OrderedFailure("RasDialA")) {
    return failure;
  }
  if (parameters == nullptr || connection == nullptr) {
    return ERROR_INVALID_PARAMETER;
  }
  if (parameters->dwSize != sizeof(RASDIALPARAMSA)) {
    return ERROR_INVALID_SIZE;
  }
  const std::string entryName(FieldText(parameters->szEntryName));
  if (const DWORD refused = CheckEntryName(entryName.c_str(), NameUse::kFindsExisting)) {
    return refused;
  }
  const ServiceOperations& service = ThisService();
  ServiceDial dial;
  if (const DWORD refused = service.prepareDial(phoneBook, entryName.c_str(), *parameters, &dial)) {
    return refused;
  }
  return StartDial(std::move(dial.progress), dial.deviceType, dial.deviceName, notifierType,
                   notifier, connection);
}

DWORD WINAPI RasEditPhonebookEntryA(HWND, const char* phoneBook, const char* entryName) {
  if (const DWORD failure = OrderedFailure("RasEditPhonebookEntryA")) {
    return failure;
  }
  if (const DWORD refused = CheckEntryName(entryName, NameUse::kFindsExisting)) {
    return refused;
  }
  // There is no dialog to show: the entry is left as it is.
  LongEntryRecord unchanged = {};
  return ThisService().readEntry(phoneBook, entryName, &unchanged);
}

DWORD WINAPI RasEnumEntriesA(const char* reserved, const char* phoneBook, RASENTRYNAMEA* entries,
                             DWORD* size, DWORD* count) {
  if (const DWORD failure = OrderedFailure("RasEnumEntriesA")) {
    return failure;
  }
  if (reserved != nullptr || size == nullptr || count == nullptr) {
    return ERROR_INVALID_PARAMETER;
  }
  if (entries != nullptr && entries->dwSize != sizeof(RASENTRYNAMEA)) {
    return ERROR_INVALID_SIZE;
  }
  std::vector<std::string> listed;
  if (const DWORD failed = ThisService().listEntries(phoneBook, &listed)) {
    return failed;
  }
  std::vector<RASENTRYNAMEA> names(listed.size());
  for (size_t i = 0; i < names.size(); ++i) {
    names[i].dwSize = sizeof(RASENTRYNAMEA);
    CopyText(names[i].szEntryName, listed[i].c_str());
  }
  return AnswerRecords(names, entries, size, count);
}

DWORD WINAPI RasSetCredentialsA(const char* phoneBook, const char* entryName,
                                RASCREDENTIALSA* credentials, BOOL clearCredentials) {
  if (const DWORD failure = OrderedFailure("RasSetCredentialsA")) {
    return failure;
  }
  if (entryName == nullptr || credentials == nullptr) {
    return ERROR_INVALID_PARAMETER;
  }
  if (credentials->dwSize != sizeof(RASCREDENTIALSA)) {
    return ERROR_INVALID_SIZE;
  }
  if ((credentials->dwMask & ~kKnownCredentials) != 0) {
    return ERROR_INVALID_PARAMETER;
  }
  if (!clearCredentials) {
    return StoreCredentialsOf(phoneBook, entryName, *credentials);
  }
  CWipedRecord<RASCREDENTIALSA> cleared;
  cleared.value.dwSize = sizeof(RASCREDENTIALSA);
  cleared.value.dwMask = credentials->dwMask;
  return StoreCredentialsOf(phoneBook, entryName, cleared.value);
}

// The dial parameters' user name, password and domain are the credentials of the user who calls.
DWORD WINAPI RasSetEntryDialParamsA(const char* phoneBook, RASDIALPARAMSA* parameters,
                                    BOOL removePassword) {
  if (const DWORD failure = OrderedFailure("RasSetEntryDialParamsA")) {
    return failure;
  }
  if (parameters == nullptr) {
    return ERROR_INVALID_PARAMETER;
  }
  if (parameters->dwSize != sizeof(RASDIALPARAMSA)) {
    return ERROR_INVALID_SIZE;
  }
  CWipedRecord<RASCREDENTIALSA> credentials;
  credentials.value.dwSize = sizeof(RASCREDENTIALSA);
  credentials.value.dwMask = RASCM_UserName | RASCM_Password | RASCM_Domain;
  CopyText(credentials.value.szUserName, parameters->szUserName);
  if (!removePassword) {
    CopyText(credentials.value.szPassword, parameters->szPassword);
  }
  CopyText(credentials.value.szDomain, parameters->szDomain);
  const std::string entryName(FieldText(parameters->szEntryName));
  return StoreCredentialsOf(phoneBook, entryName.c_str(), credentials.value);
}

DWORD WINAPI RasGetErrorStringA(UINT code, char* buffer, DWORD size) {
  if (const DWORD failure = OrderedFailure("RasGetErrorStringA")) {
    return failure;
  }
  return AnswerErrorString(code, buffer, size);
}

}  // extern "C"
