// The secrets file (/secrets:FILE, or /secrets:- for standard input): the user names, domains,
// passwords and pre-shared keys of the entries a run stores, in sections named after them.
// docs/secrets-file.md describes it. A secret never lies in a std::string: it goes from the
// file's wiped buffer straight into the wiped fields below, and from there into the service's
// records, which are wiped too.
#pragma once

#include <string>

#include "base/secret_buffer.h"

// One entry's secrets, with the platform's field widths (user name and password 256 characters,
// domain 15), so that a value that fits here fits the service's records.
struct CEntrySecrets {
  bool found = false;  // the file has a section for the entry
  char userName[257] = {};
  char domain[16] = {};
  char password[257] = {};
  char preSharedKey[257] = {};
  bool hasUserName = false;
  bool hasDomain = false;
  bool hasPassword = false;
  bool hasPreSharedKey = false;
};

using CWipedSecrets = CWipedRecord<CEntrySecrets>;

// Reads the secrets of the entries `names` (count of them; an empty name is passed over) from the
// file at `path` into `secrets`. Returns why the file cannot be used, in words that name no
// value; empty when it was read.
std::string ReadSecretsFile(const char* path, const char* const* names, CWipedSecrets* secrets,
                            size_t count);

// The secrets file's text, as ReadSecretsFile reads it once the file is in memory.
std::string ParseSecretsText(const char* text, size_t size, const char* const* names,
                             CWipedSecrets* secrets, size_t count);
