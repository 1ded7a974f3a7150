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

class CRunLog;
class CRunResult;

// The secrets of the run's entries (CONNECT, VPN) from the secrets file `path` (/secrets:FILE;
// empty: none, and nothing is read) into `secrets`; the log warns of an entry the file has no
// section for, whose credentials are then left as they are. Why the file cannot be used, or empty.
std::string ReadRunSecrets(const std::string& path, const CRunLog& log,
                           CWipedSecrets (&secrets)[2]);

// The credentials step of the entry whose outcome the run noted last: nothing without a section
// for it in the secrets file; with one, set when this run `stored` the entry or when `always`
// (/credentials:always), else kept, since a stored password cannot be read back to compare.
void ApplyCredentials(CRasApi& ras, const char* entryName, const CEntrySecrets& secrets,
                      bool stored, bool always, bool check, CRunResult* result);
