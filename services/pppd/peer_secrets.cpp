// The service's lines in pppd's secrets files, and the user and remote name in the peer file.
#include "peer_secrets.h"

#include <algorithm>
#include <cstring>
#include <vector>

#include "base/secret_buffer.h"
#include "base/text.h"
#include "peer_entries.h"
#include "peer_store.h"
#include "peer_words.h"
#include "platform/result_codes.h"

namespace {

constexpr const char* kSecretsFiles[] = {"chap-secrets", "pap-secrets"};

bool StartsWithOption(std::string_view line, std::string_view option) {
  const size_t start = line.find_first_not_of(" \t");
  return start != std::string_view::npos && line.substr(start).starts_with(option) &&
         (line.size() == start + option.size() ||
          std::strchr(" \t", line[start + option.size()]) != nullptr);
}

// A user name the peer's `user` line can hold as a word that the service reads back.
bool IsPlainUserName(std::string_view user) {
  for (const char c : user) {
    const auto byte = static_cast<unsigned char>(c);
    if (byte < 0x20 || byte == 0x7F || c == '"' || c == '\\') {
      return false;
    }
  }
  return !user.empty() && user != "*";
}

DWORD RewriteSecrets(const CPeersFolder& folder, std::string_view remoteName,
                     std::string_view line) {
  for (const char* file : kSecretsFiles) {
    std::string text;
    DWORD failed = folder.ReadSystemFile(file, &text);
    if (failed == 0) {
      std::string changed = WithOwnSecret(text, remoteName, line);
      if (changed != text) {
        failed = folder.WriteSystemFile(file, changed);
      }
      WipeText(&changed);
    } else if (line.empty() && failed == kErrorAccessDenied) {
      // A file the service cannot have written into (a link, a folder) holds none of its lines.
      failed = 0;
    }
    // The file's every secret, a person's too, lay in these texts.
    WipeText(&text);
    if (failed != 0) {
      return failed;
    }
  }
  return 0;
}

}  // namespace

std::string WithOwnSecret(std::string_view text, std::string_view remoteName,
                          std::string_view line) {
  const std::string mark = kSecretMark + std::string(remoteName);
  const std::string ownWord = " " + PppWord(remoteName) + " ";
  std::string kept;
  // Room for the whole text at once, since a text that grows leaves its earlier copies behind.
  kept.reserve(mark.size() + line.size() + text.size() + 3);
  if (!line.empty()) {
    kept.append(mark).append("\n").append(line).append("\n");
  }
  bool dropNext = false;
  for (size_t start = 0; start < text.size();) {
    const size_t end = std::min(text.find('\n', start), text.size());
    const std::string_view each = text.substr(start, end - start);
    start = end + 1;
    if (each == mark) {
      dropNext = true;
    } else if (dropNext && !each.starts_with('#') && each.find(ownWord) != std::string::npos) {
      // Only a secret for the remote name goes with its mark: a mark whose line a person took
      // away leaves the person's next line where it is.
      dropNext = false;
    } else {
      dropNext = false;
      // A person's last line keeps its lack of a line end too: every byte of theirs stays.
      kept.append(each).append(end < text.size() ? "\n" : "");
    }
  }
  return kept;
}

std::string SecretLine(std::string_view user, std::string_view remoteName,
                       std::string_view secret) {
  if (user.empty() || user == "*" || secret.starts_with("@/")) {
    return {};
  }
  std::string secretWord = PppWord(secret);
  std::string line = PppWord(user) + " " + PppWord(remoteName) + " ";
  line.reserve(line.size() + secretWord.size());
  line.append(secretWord);
  WipeText(&secretWord);
  return line;
}

DWORD StorePeerCredentials(const std::string& root, const std::string& entryName,
                           const RASCREDENTIALSA& credentials) {
  const DWORD mask = credentials.dwMask;
  if ((mask & RASCM_PreSharedKey) != 0 ||
      ((mask & RASCM_Domain) != 0 && credentials.szDomain[0] != '\0')) {
    return kErrorNotSupported;
  }
  const std::string_view user = credentials.szUserName;
  if ((mask & RASCM_UserName) == 0 || !IsPlainUserName(user)) {
    return ERROR_INVALID_PARAMETER;
  }
  CPeerEntry entry;
  CPeersFolder folder;
  // Looked for before the lock, so that an unknown entry makes no folder, and again under it,
  // where the answer holds until the files are written.
  if (!FindPeerEntry(root, entryName, &entry)) {
    return ERROR_CANNOT_FIND_PHONEBOOK_ENTRY;
  }
  if (const DWORD failed = folder.Open(root)) {
    return failed;
  }
  if (!FindPeerEntry(root, entryName, &entry)) {
    return ERROR_CANNOT_FIND_PHONEBOOK_ENTRY;
  }
  if (!entry.contents.ours || !entry.trusted) {
    return kErrorAccessDenied;
  }
  if ((mask & RASCM_Password) != 0) {
    const std::string_view password = credentials.szPassword;
    std::string line = password.empty() ? "" : SecretLine(user, entry.file, password);
    const DWORD failed = !password.empty() && line.empty()
                             ? ERROR_INVALID_PARAMETER
                             : RewriteSecrets(folder, entry.file, line);
    WipeText(&line);
    if (failed != 0) {
      return failed;
    }
  }
  // The peer names the user and the remote name its secrets are found under, in place of any
  // other it named.
  // A renamed peer keeps its old remote name: the service's lines for that name go with this store.
  std::vector<std::string>& lines = entry.contents.personLines;
  for (const std::string& line : lines) {
    const size_t start = line.find("remotename ");
    const std::string earlier = start == std::string::npos ? "" : line.substr(start + 11);
    // Never the lines of a peer that is there under that name.
    if (StartsWithOption(line, "remotename") && earlier != entry.file &&
        IsPeerName(earlier.c_str()) && FindPeerFile(root, earlier).empty()) {
      if (const DWORD failed = RewriteSecrets(folder, earlier, "")) {
        return failed;
      }
    }
  }
  std::erase_if(lines, [](const std::string& line) {
    return StartsWithOption(line, "user") || StartsWithOption(line, "remotename");
  });
  lines.push_back("user " + PppWord(user));
  lines.push_back("remotename " + PppWord(entry.file));
  std::string peer;
  if (const DWORD refused =
          FormatPeer(entry.contents.entryName, entry.contents.record, root, &peer)) {
    return refused;
  }
  return folder.Write(entry.file, WithPersonLines(std::move(peer), lines));
}

DWORD RemovePeerSecrets(const std::string& root, std::string_view remoteName) {
  CPeersFolder folder;
  if (const DWORD failed = folder.Open(root)) {
    return failed;
  }
  // A peer stored under the name since it was deleted (by a run that went on meanwhile, before
  // this lock) keeps the secret it has now.
  if (!FindPeerFile(root, std::string(remoteName)).empty()) {
    return 0;
  }
  return RewriteSecrets(folder, remoteName, "");
}
