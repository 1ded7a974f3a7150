// The Remote Access Service over pppd: its operations behind the fifteen functions, over the
// peer files of the system under PppRoot(). The phone book argument names no file here: the
// peers directory is the phone book. docs/pppd-service.md says what each function does.
#include <cstring>
#include <string>
#include <vector>

#include "base/text.h"
#include "entry/entry_layouts.h"
#include "entry/entry_record.h"
#include "peer_entries.h"
#include "peer_file.h"
#include "peer_secrets.h"
#include "peer_words.h"
#include "platform/ras_service.h"
#include "platform/result_codes.h"
#include "ppp_system.h"
#include "pppd_dial.h"
#include "service_answers.h"
#include "service_operations.h"

namespace {

DWORD ValidateName(const char*, const char* entryName) {
  return IsPeerFileTaken(PppRoot(), entryName) ? ERROR_ALREADY_EXISTS : 0;
}

DWORD RenameEntry(const char*, const char* oldName, const char* newName) {
  return RenamePeerEntry(PppRoot(), oldName, newName);
}

// The entry's secrets go with it.
DWORD DeleteEntry(const char*, const char* entryName) {
  const std::string root = PppRoot();
  CPeerEntry found;
  const bool there = FindPeerEntry(root, entryName, &found);
  const DWORD failed = DeletePeerEntry(root, entryName);
  return failed != 0 || !there ? failed : RemovePeerSecrets(root, found.file);
}

// Linux takes the record of every Windows the tool knows; a peer keeps the fields it carries.
bool TakesRecordSize(DWORD size) {
  for (const EntryLayout& layout : kEntryLayouts) {
    if (size == layout.size) {
      return true;
    }
  }
  return false;
}

DWORD ReadEntry(const char*, const char* entryName, LongEntryRecord* record) {
  CPeerEntry found;
  if (!FindPeerEntry(PppRoot(), entryName, &found)) {
    return ERROR_CANNOT_FIND_PHONEBOOK_ENTRY;
  }
  *record = found.contents.later;
  record->base = found.contents.record;
  return 0;
}

// A record shorter than the longest leaves the entry's later fields beyond it as they were.
DWORD StoreEntry(const char*, const char* entryName, const LongEntryRecord& record, DWORD size) {
  LongEntryRecord whole = {};
  CPeerEntry found;
  if (FindPeerEntry(PppRoot(), entryName, &found)) {
    whole = found.contents.later;
  }
  std::memcpy(&whole, &record, size);
  if (!PeerTakesStrategy(whole.dwVpnStrategy)) {
    return kErrorNotSupported;
  }
  const RASENTRYA base = whole.base;
  whole.base = {};
  return StorePeerEntry(PppRoot(), entryName, base, whole);
}

// Linux keeps no table of countries' dialing rules to answer from.
DWORD ReadCountry(RASCTRYINFO*, DWORD*) {
  return ERROR_INVALID_PARAMETER;
}

std::vector<RASDEVINFOA> FindSystemDevices() {
  return FindDevices(PppRoot());
}

DWORD ListEntries(const char*, std::vector<std::string>* names) {
  *names = ListPeerEntries(PppRoot());
  return 0;
}

DWORD PrepareDial(const char*, const char* entryName, const RASDIALPARAMSA& parameters,
                  ServiceDial* dial) {
  const std::string root = PppRoot();
  CPeerEntry found;
  if (!FindPeerEntry(root, entryName, &found)) {
    return ERROR_CANNOT_FIND_PHONEBOOK_ENTRY;
  }
  // pppd obeys the file as root: whoever else may change it could put options of their own in.
  if (!found.trusted) {
    return kErrorAccessDenied;
  }
  const RASENTRYA& record = found.contents.record;
  const std::string_view password = FieldText(parameters.szPassword);
  dial->progress =
      PppdDial(SystemProgram(root, "pppd"),
               PppdArguments(root, found.file, std::string(FieldText(parameters.szUserName)),
                             !password.empty()),
               password);
  dial->deviceType = FieldText(record.szDeviceType);
  dial->deviceName = FieldText(record.szDeviceName);
  return 0;
}

constexpr ServiceOperations kPppd = {
    .orderedFailure = nullptr,
    .takesName = IsPeerName,
    .validateName = ValidateName,
    .renameEntry = RenameEntry,
    .deleteEntry = DeleteEntry,
    .takesRecordSize = TakesRecordSize,
    .readEntry = ReadEntry,
    .storeEntry = StoreEntry,
    // pppd dials one number: the record is answered as it was stored.
    .answersAlternates = false,
    .readCountry = ReadCountry,
    .findDevices = FindSystemDevices,
    .listEntries = ListEntries,
    .prepareDial = PrepareDial,
    .storeCredentials = [](const char*, const char* entryName, const RASCREDENTIALSA& credentials)
        -> DWORD { return StorePeerCredentials(PppRoot(), entryName, credentials); },
};

}  // namespace

const ServiceOperations& ThisService() {
  return kPppd;
}
