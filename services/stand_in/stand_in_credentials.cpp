// The stand-in service's credentials file: the lines of other entries and fields are kept as
// they are, and the file is replaced whole, as the phone book is.
#include "stand_in_credentials.h"

#include <cstdint>
#include <cstdio>
#include <cstring>
#include <vector>

#include "base/text.h"
#include "platform/file_replacement.h"
#include "platform/result_codes.h"
#include "service_files.h"

namespace {

// The file's lines without those of `entryName` whose field `drop` answers true for.
template <typename Drop>
std::string KeptLines(const std::string& path, const char* entryName, Drop drop) {
  std::string text;
  ReadServiceFile(path, &text);
  std::string kept;
  for (const std::string_view line : TextLines(text)) {
    const size_t tab = line.find('\t');
    const std::string_view name = line.substr(0, tab);
    const std::string_view field =
        tab == std::string_view::npos ? std::string_view() : line.substr(tab + 1);
    if (!TextEqualsIgnoringCase(name, entryName) || !drop(field.substr(0, field.find('\t')))) {
      kept.append(line).append("\n");
    }
  }
  return kept;
}

bool IsOneLine(const char* text) {
  return std::strpbrk(text, "\t\r\n") == nullptr;
}

}  // namespace

std::string SecretDigest(std::string_view secret) {
  uint64_t digest = 0xcbf29ce484222325u;
  for (const char c : secret) {
    digest = (digest ^ static_cast<unsigned char>(c)) * 0x100000001b3u;
  }
  char hex[17];
  std::snprintf(hex, sizeof hex, "%016llx", static_cast<unsigned long long>(digest));
  return std::string("fnv1a64:") + hex;
}

DWORD UpdateCredentialsFile(const std::string& path, const char* entryName,
                            const RASCREDENTIALSA& credentials) {
  if (!IsOneLine(credentials.szUserName) || !IsOneLine(credentials.szDomain)) {
    return ERROR_INVALID_PARAMETER;
  }
  const DWORD mask = credentials.dwMask;
  struct Field {
    DWORD bit;
    const char* name;
    std::string value;
  };
  std::vector<Field> fields;
  if ((mask & RASCM_PreSharedKey) != 0) {
    fields.push_back({RASCM_PreSharedKey, "PreSharedKey", SecretDigest(credentials.szPassword)});
  } else {
    fields.push_back({~DWORD{0}, "For", mask & RASCM_DefaultCreds ? "all users" : "the caller"});
    fields.push_back({RASCM_UserName, "UserName", credentials.szUserName});
    fields.push_back({RASCM_Domain, "Domain", credentials.szDomain});
    fields.push_back({RASCM_Password, "Password", SecretDigest(credentials.szPassword)});
  }
  std::string text = KeptLines(path, entryName, [&](std::string_view field) {
    for (const Field& named : fields) {
      if ((mask & named.bit) != 0 && field == named.name) {
        return true;
      }
    }
    return false;
  });
  for (const Field& named : fields) {
    if ((mask & named.bit) != 0) {
      text.append(entryName).append("\t").append(named.name).append("\t").append(named.value);
      text.append("\n");
    }
  }
  return ReplaceFileContents(path.c_str(), text) ? 0 : ERROR_CANNOT_WRITE_PHONEBOOK;
}

bool RemoveCredentials(const std::string& path, const char* entryName) {
  std::string text;
  if (!ReadServiceFile(path, &text)) {
    return true;
  }
  return ReplaceFileContents(path.c_str(),
                             KeptLines(path, entryName, [](std::string_view) { return true; }));
}
