// Reading the secrets file: profile lines, taken apart here rather than read through the profile
// functions, which keep what they read, so that nothing of a secret stays behind once the run is
// done.
#include "app/secrets_file.h"

#include <cstddef>
#include <string_view>

#include "base/text.h"
#include "platform/profile_lines.h"
#include "platform/secret_file.h"

namespace {

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
  const std::string_view all(text, size);
  if (all.find('\0') != std::string_view::npos) {
    return "the secrets file holds a zero byte: it is no text (or UTF-16, which it cannot be)";
  }
  // The profile files' line grammar, but strict: a line that means nothing there is an error
  // here, since it may be a secret that would silently not be set.
  CEntrySecrets* section = nullptr;
  size_t lineNumber = 0;
  CProfileLineReader reader(all, FirstProfileLine(all));
  for (CProfileLine line; reader.Next(line);) {
    ++lineNumber;
    if (line.kind == CProfileLine::kSection) {
      section = nullptr;
      for (size_t i = 0; i < count; ++i) {
        if (names[i][0] != '\0' && SameProfileName(line.name, names[i])) {
          section = &secrets[i].value;
          section->found = true;
        }
      }
      continue;
    }
    if (line.kind == CProfileLine::kNothing || line.IsComment() || line.name.starts_with('#')) {
      continue;
    }
    if (line.name.starts_with('[')) {
      return AtLine(lineNumber, "opens a section without closing it with ]");
    }
    if (!line.hasValue) {
      return AtLine(lineNumber, "is neither a section, a key with a value, nor a comment");
    }
    std::string problem = TakeValue(line.name, line.value, lineNumber, section);
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
