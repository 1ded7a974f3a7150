// What a service behind the remote-access seam does of its own. The fifteen functions of
// platform/ras_service.h are defined once for every service (service_functions.cpp): each checks
// its arguments in the platform's order and answers in its manner, and calls the service only
// with arguments that passed, through the table of operations the service fills in.
#pragma once

#include <memory>
#include <string>
#include <vector>

#include "entry/entry_layouts.h"
#include "entry/entry_record.h"
#include "platform/ras_service.h"
#include "platform_types.h"
#include "service_dials.h"

// A dial as a service makes it, ready to start: how it goes on and the device it goes through.
struct ServiceDial {
  std::unique_ptr<CDialProgress> progress;
  std::string deviceType;
  std::string deviceName;
};

using PrepareDialOperation = DWORD (*)(const char* phoneBook, const char* entryName,
                                       const RASDIALPARAMSA& parameters, ServiceDial* dial);
using StoreEntryOperation = DWORD (*)(const char* phoneBook, const char* entryName,
                                      const LongEntryRecord& record, DWORD size);
using StoreCredentialsOperation = DWORD (*)(const char* phoneBook, const char* entryName,
                                            const RASCREDENTIALSA& credentials);

// Every name an operation is given is one that takesName takes; the phone book argument is the
// caller's, null for the default one.
struct ServiceOperations {
  // The result a function (by its exported name) is made to give at once, before any check; 0
  // for none. Null for a service that takes no such orders.
  DWORD (*orderedFailure)(const char* function);
  // Whether the service can hold an entry of this name.
  bool (*takesName)(const char* name);
  // 183 when the name is in use; 0 when a new entry may take it.
  DWORD (*validateName)(const char* phoneBook, const char* entryName);
  DWORD (*renameEntry)(const char* phoneBook, const char* oldName, const char* newName);
  DWORD (*deleteEntry)(const char* phoneBook, const char* entryName);
  // The sizes of entry record the service takes (a Windows takes its own layout's and every
  // shorter one's); 632 answers any other.
  bool (*takesRecordSize)(DWORD size);
  // The stored record of the entry into *record, whose fields the service does not keep stay
  // zero; 623 when there is none.
  DWORD (*readEntry)(const char* phoneBook, const char* entryName, LongEntryRecord* record);
  // The first `size` bytes of `record` are the caller's, a size takesRecordSize takes; an entry
  // stored before keeps its fields beyond them.
  StoreEntryOperation storeEntry;
  // Whether an entry with alternate numbers is answered with room for their list after the
  // record, as the platform answers them.
  bool answersAlternates;
  // The country of country->dwCountryID into the caller's record of *size bytes.
  DWORD (*readCountry)(RASCTRYINFO* country, DWORD* size);
  std::vector<RASDEVINFOA> (*findDevices)();
  // The entries' names, in the service's order.
  DWORD (*listEntries)(const char* phoneBook, std::vector<std::string>* names);
  // The dial of the entry `entryName`, the name in `parameters`, ready to start.
  PrepareDialOperation prepareDial;
  // The existing entry's credentials: the user name, password and domain that dwMask names (for
  // every user with RASCM_DefaultCreds), or its pre-shared key (RASCM_PreSharedKey, in
  // szPassword). Every text field ends inside its width.
  StoreCredentialsOperation storeCredentials;
};

// The operations of the service this library is: each service defines it once.
const ServiceOperations& ThisService();
