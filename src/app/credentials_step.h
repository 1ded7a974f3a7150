// The run's credentials step: an entry's user name, password, domain and pre-shared key, from
// the secrets file, given to the service with the functions the running Windows has.
#pragma once

#include <cstdint>
#include <string>

#include "app/secrets_file.h"
#include "ras/ras_library.h"

struct CCredentialsStored {
  uint32_t code = 0;  // 0, or the service's refusal
  std::string note;   // for whom they were stored, or why they were refused; never a value
};

// Stores `secrets` for the entry `entryName`, which the service holds. The user name, password
// and domain go to every user of the machine where the service takes that (Windows XP and later),
// else to the user who runs the tool; where the credentials function is missing (the 95 family,
// NT 4.0), they become the entry's dial parameters. The pre-shared key needs the credentials
// function of Windows XP or later, and without it is refused.
CCredentialsStored StoreCredentials(CRasApi& ras, const char* entryName,
                                    const CEntrySecrets& secrets);

class CRunResult;

// The credentials step of the entry whose outcome the run noted last: nothing without a section
// for it in the secrets file; with one, set when this run `stored` the entry or when `always`
// (/credentials:always), else kept, since a stored password cannot be read back to compare.
void ApplyCredentials(CRasApi& ras, const char* entryName, const CEntrySecrets& secrets,
                      bool stored, bool always, bool check, CRunResult* result);
