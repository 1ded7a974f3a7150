// An entry's credentials on Linux: the peer file names the user (`user NAME`) and the peer's own
// remote name (`remotename FILE`, the peer file's name), and pppd finds the password in
// chap-secrets and pap-secrets on a line for that user and remote name. The service's line for a
// peer comes first in each file, after a mark of its own, so that no line of a person's for the
// same names, which pppd would read later, is taken before it; every other line stays as it was.
#pragma once

#include <string>
#include <string_view>

#include "platform/ras_service.h"
#include "platform_types.h"

// The comment line before the service's secret for the remote name that follows it.
inline constexpr char kSecretMark[] = "# dialkit: the secret of the peer ";

// The secrets file's `text` without the service's line for `remoteName` (nor its mark), and with
// `line` first, after its mark, unless `line` is empty.
std::string WithOwnSecret(std::string_view text, std::string_view remoteName,
                          std::string_view line);

// The line "client server secret", each a word of pppd's lexer; empty where pppd would read it
// otherwise than as this user's password for this remote name: for a user name that is empty or
// "*" (any user), or a secret that begins with "@/" (pppd reads the secret from that file).
std::string SecretLine(std::string_view user, std::string_view remoteName, std::string_view secret);

// The credentials of the entry `entryName` into its peer file and the secrets files. 0, or:
// kErrorNotSupported for a domain or a pre-shared key, which pppd's peers do not carry;
// ERROR_INVALID_PARAMETER for a user name that no `user` line the service reads back can hold
// (a double quote, a backslash, a control character), or that SecretLine refuses;
// kErrorAccessDenied for a peer file that is not the service's own and trusted; the folder's code.
DWORD StorePeerCredentials(const std::string& root, const std::string& entryName,
                           const RASCREDENTIALSA& credentials);

// Removes the service's lines for `remoteName`, whose peer is gone; none while a peer of that
// name is there again.
DWORD RemovePeerSecrets(const std::string& root, std::string_view remoteName);
