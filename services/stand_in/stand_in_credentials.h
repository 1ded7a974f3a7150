// The stand-in service's credentials: ras/credentials.txt in its data directory, one line per
// entry and field, each a tab-separated entry name, field name and value:
//
//   Work<TAB>For<TAB>all users          (or "the caller")
//   Work<TAB>UserName<TAB>alice
//   Work<TAB>Password<TAB>fnv1a64:0123456789abcdef
//
// A password or pre-shared key is kept only as its digest, which a test can compare with the
// digest of what it gave, so that the file never holds a secret in clear. The digest protects
// nothing against a guess: the stand-in is for tests.
#pragma once

#include <string>
#include <string_view>

#include "platform/ras_service.h"
#include "platform_types.h"

// "fnv1a64:" and the 16 hexadecimal digits of the text's 64-bit FNV-1a digest.
std::string SecretDigest(std::string_view secret);

// Replaces the fields that `credentials.dwMask` names for the entry in the credentials file at
// `path`; 87 for a user name or domain that holds a tab or a line break, 624 when the file cannot
// be written.
DWORD UpdateCredentialsFile(const std::string& path, const char* entryName,
                            const RASCREDENTIALSA& credentials);

// Drops every line of the entry, which is gone; false when the file cannot be written.
bool RemoveCredentials(const std::string& path, const char* entryName);
