// Reading the secrets file: INI lines, read here rather than through the profile functions,
// which keep what they read, so that nothing of a secret stays behind once the run is done.
#include "app/secrets_file.h"

#include <algorithm>
#include <cstddef>
#include <string_view>

#include "base/text.h"
#include "platform/secret_file.h"

namespace {

constexpr std::string_view kBlanks = " \t\r";

std::string_view Trimmed(std::string_view text) {
  const size_t start = text.find_first_not_of(kBlanks);
  // Empty, but still pointing into the text: a copy of it passes no null pointer on.
  if (start == std::string_view::npos) {
    return text.substr(text.size());
  }
  return text.substr(start, text.find_last_not_of(kBlanks) - start + 1);
}

struct CSecretKey {
  const char* name;
  size_t field;  // the offset of its field
  size_t capacity;
  bool CEntrySecrets::*given;
};

#define DIALKIT_SECRET_FIELD(member) offsetof(CEntrySecrets, member), sizeof(CEntrySecrets::member)
constexpr CSecretKey kKeys[] = {
    {"UserName", DIALKIT_SECRET_FIELD(userName), &CEntrySecrets::hasUserName},
    {"Domain", DIALKIT_SECRET_FIELD(domain), &CEntrySecrets::hasDomain},
    {"Password", DIALKIT_SECRET_FIELD(password), &CEntrySecrets::hasPassword},
    {"PreSharedKey", DIALKIT_SECRET_FIELD(preSharedKey), &CEntrySecrets::hasPreSharedKey},
};
#undef DIALKIT_SECRET_FIELD

std::string AtLine(size_t line, const std::string& what) {
  return "line " + std::to_string(line) + " of the secrets file " + what;
}

// Takes one key's value into the entry's field: blanks around it are dropped, and a value in
// double quotes keeps what lies between them, blanks included.
std::string TakeValue(std::string_view key, std::string_view value, size_t line,
                      CEntrySecrets* entry) {
  if (value.size() >= 2 && value.front() == '"' && value.back() == '"') {
    value = value.substr(1, value.size() - 2);
  }
  for (const CSecretKey& known : kKeys) {
    if (!TextEqualsIgnoringCase(key, known.name)) {
      continue;
    }
    if (value.size() >= known.capacity) {
      return AtLine(line, std::string("holds a ") + known.name + " longer than " +
                              std::to_string(known.capacity - 1) + " characters");
    }
    if (entry != nullptr) {
      char* field = reinterpret_cast<char*>(entry) + known.field;
      CopyText(field, known.capacity, value.data(), value.size());
      entry->*known.given = true;
    }
    return {};
  }
  return AtLine(line,
                "holds a key it does not know (they are UserName, Domain, Password and "
                "PreSharedKey)");
}

}  // namespace

std::string ParseSecretsText(const char* text, size_t size, const char* const* names,
                             CWipedSecrets* secrets, size_t count) {
  std::string_view all(text, size);
  if (all.find('\0') != std::string_view::npos) {
    return "the secrets file holds a zero byte: it is no text (or UTF-16, which it cannot be)";
  }
  // Editors that save UTF-8 may begin the file with its byte order mark.
  if (all.starts_with("\xEF\xBB\xBF")) {
    all.remove_prefix(3);
  }
  CEntrySecrets* section = nullptr;
  size_t lineNumber = 0;
  for (size_t start = 0; start < all.size();) {
    const size_t end = std::min(all.find('\n', start), all.size());
    const std::string_view line = Trimmed(all.substr(start, end - start));
    start = end + 1;
    ++lineNumber;
    if (line.empty() || line.front() == ';' || line.front() == '#') {
      continue;
    }
    if (line.front() == '[') {
      if (line.back() != ']') {
        return AtLine(lineNumber, "opens a section without closing it with ]");
      }
      const std::string_view name = Trimmed(line.substr(1, line.size() - 2));
      section = nullptr;
      for (size_t i = 0; i < count; ++i) {
        if (names[i][0] != '\0' && TextEqualsIgnoringCase(name, names[i])) {
          section = &secrets[i].value;
          section->found = true;
        }
      }
      continue;
    }
    const size_t equals = line.find('=');
    if (equals == std::string_view::npos) {
      return AtLine(lineNumber, "is neither a section, a key with a value, nor a comment");
    }
    std::string problem = TakeValue(Trimmed(line.substr(0, equals)),
                                    Trimmed(line.substr(equals + 1)), lineNumber, section);
    if (!problem.empty()) {
      return problem;
    }
  }
  return {};
}

std::string ReadSecretsFile(const char* path, const char* const* names, CWipedSecrets* secrets,
                            size_t count) {
  CSecretBuffer bytes(kSecretFileCapacity);
  switch (ReadSecretFile(path, &bytes)) {
    case SecretFileRead::kRead:
      return ParseSecretsText(bytes.Data(), bytes.Size(), names, secrets, count);
    case SecretFileRead::kOpenFailed:
      return "the secrets file cannot be opened";
    case SecretFileRead::kNotRegular:
      return "the secrets file is no plain file";
    case SecretFileRead::kReadableByOthers:
      return "the secrets file may be read by others than its owner: allow its owner alone to "
             "read it (chmod 600)";
    case SecretFileRead::kTooLarge:
      return "the secrets file is larger than " + std::to_string(kSecretFileCapacity) + " bytes";
    case SecretFileRead::kReadFailed:
      break;
  }
  return "the secrets file cannot be read";
}
