// The profile component on POSIX: the four Win32 profile functions over files of the stand-in
// system. Reads give what the Windows functions give, byte for byte and count for count (the
// file syntax is described in profile_lines.h), with one exception: no call writes past the
// capacity it was given. Writes differ on purpose: Windows rewrites the whole file in its own
// layout, while here only the line concerned changes (or lines are added) and the file is
// replaced atomically.
//
// A file that begins with a UTF-16 byte-order mark is read as UTF-16 text in the ANSI code page
// (profile_encoding.h), and written back in UTF-16 with its mark, as the platform writes it. A
// write that would not give back what such a file held (a character the code page lacks, an odd
// byte at its end) is refused, and the file is left as it was; so is a write that would make a file
// of single bytes begin with such a mark.
//
// Only regular files are profile files: anything else (a FIFO, a device, a socket, a directory)
// reads as a file that cannot be opened and is never written, so that no call can block or read
// without end. A file is read up to the size it had when it was opened.
//
// A file is taken apart once and kept for the life of the process (profile_cache.h).
#include <sys/stat.h>

#include <algorithm>
#include <cerrno>
#include <cstdint>
#include <cstdlib>
#include <cstring>
#include <mutex>
#include <optional>
#include <string>
#include <string_view>

#include "base/text.h"
#include "platform/file_replacement.h"
#include "platform/posix/profile_cache.h"
#include "platform/posix/profile_index.h"
#include "platform/posix/profile_text.h"
#include "platform/posix/stand_in_system.h"
#include "platform/profile.h"
#include "platform/profile_encoding.h"

namespace {

constexpr BOOL kSucceeded = 1;
constexpr BOOL kFailed = 0;

// The path a file name stands for. Windows looks a file name without a directory part up in the
// Windows directory, and takes win.ini there when the name is null; the stand-in system's root
// plays that directory. A name with a directory part is the path itself (no copy is made).
class CProfilePath {
 public:
  explicit CProfilePath(const char* fileName)
      : resolved_(fileName == nullptr                     ? StandInDefaultProfilePath()
                  : std::strchr(fileName, '/') == nullptr ? StandInSystemRoot() + "/" + fileName
                                                          : std::string()),
        path_(resolved_.empty() ? fileName : resolved_.c_str()) {}
  CProfilePath(const CProfilePath&) = delete;
  CProfilePath& operator=(const CProfilePath&) = delete;

  const char* c_str() const { return path_; }

 private:
  std::string resolved_;
  const char* path_;
};

// Copies a value or default text as the platform does: a text enclosed in a matching pair of
// quotes loses them, at most capacity - 1 characters are kept and a zero follows; nothing after
// the zero is touched. The platform's quirk is kept: it drops the closing quote by cutting the
// last character it copied, so when the capacity equals the text's length without its opening
// quote, the closing quote did not fit and a character of the value is lost instead.
DWORD CopyEntry(char* buffer, DWORD capacity, std::string_view text, bool stripQuotes) {
  const bool quoted = stripQuotes && text.size() >= 2 && (text[0] == '"' || text[0] == '\'') &&
                      text.back() == text[0];
  if (quoted) {
    text.remove_prefix(1);
  }
  size_t kept = std::min<size_t>(text.size(), capacity - 1);
  if (quoted && capacity >= text.size() && kept > 0) {
    --kept;
  }
  return static_cast<DWORD>(CopyText(buffer, kept + 1, text.data(), kept));
}

// Lists are texts each ended by a zero, the whole ended by a further zero; they hold zero bytes,
// so CopyText cannot copy them. The list builders below never make more than `capacity` bytes.
void CopyList(char* buffer, DWORD capacity, std::string_view list) {
  std::memcpy(buffer, list.data(), std::min<size_t>(list.size(), capacity));
}

struct CList {
  std::string bytes;
  DWORD count;  // what the platform returns for it
};

// The names of the keys of `section` that have a value and are no comments. When they do not all
// fit, the platform shortens the last name that is started so that its zero and the final zero
// still fit, and counts capacity - 2.
CList ListKeyNames(CProfileIndex& index, const char* section, DWORD capacity) {
  CList list{{}, 0};
  size_t room = capacity;
  CProfileLineReader lines = index.Lines(index.FindSection(section));
  for (CProfileLine line; lines.Next(line);) {
    if (line.kind != CProfileLine::kKey) {
      continue;
    }
    if (room <= 2) {
      break;
    }
    if (line.IsComment() || !line.hasValue) {
      continue;
    }
    const size_t kept = std::min(line.name.size(), room - 2);
    list.bytes.append(line.name.substr(0, kept)).push_back('\0');
    room -= kept + 1;
    if (room < 2) {
      break;
    }
  }
  list.bytes.push_back('\0');
  const bool cut = room <= 1;
  list.count = static_cast<DWORD>(cut ? (capacity >= 2 ? capacity - 2 : 0) : list.bytes.size() - 1);
  return list;
}

// The names of all sections but the unnamed one before the first header, duplicates included.
// A name that fills the rest of the buffer exactly counts as not fitting, as on the platform.
CList ListSectionNames(std::string_view bytes, DWORD capacity) {
  if (capacity == 1) {
    return {std::string(1, '\0'), 0};
  }
  CList list{{}, 0};
  size_t room = capacity - 1;
  CProfileLineReader lines(bytes, FirstProfileLine(bytes));
  for (CProfileLine header; lines.NextHeader(header);) {
    if (header.name.empty()) {
      continue;
    }
    if (header.name.size() + 1 >= room) {
      list.bytes.append(header.name.substr(0, room - 1)).append(2, '\0');
      return {list.bytes, capacity - 2};
    }
    list.bytes.append(header.name).push_back('\0');
    room -= header.name.size() + 1;
  }
  list.bytes.push_back('\0');
  list.count = static_cast<DWORD>(list.bytes.size() - 1);
  return list;
}

// The lines of `section` as key=value texts (a key without a value gives its name alone), each
// ended by a zero; comments are left out and values keep their quotes.
std::string SectionLines(CProfileIndex& index, const char* section) {
  std::string lines;
  CProfileLineReader reader = index.Lines(index.FindSection(section));
  for (CProfileLine line; reader.Next(line);) {
    if (line.kind != CProfileLine::kKey || line.IsComment()) {
      continue;
    }
    lines.append(line.name);
    if (line.hasValue) {
      lines.append("=").append(line.value);
    }
    lines.push_back('\0');
  }
  return lines;
}

// The number as the platform reads it: bytes up to the space are skipped, then one sign, then a
// lower-case prefix 0x, 0o or 0b selects base 16, 8 or 2 (base 10 otherwise), and digits of the
// base are read up to the first byte that is none. The sum wraps around modulo 2^32 and a minus
// sign negates it modulo 2^32; the arithmetic is unsigned, so no input is undefined.
UINT ReadProfileInteger(std::string_view text) {
  size_t i = 0;
  while (i < text.size() && static_cast<unsigned char>(text[i]) <= ' ') {
    ++i;
  }
  const bool negative = i < text.size() && text[i] == '-';
  if (i < text.size() && (text[i] == '-' || text[i] == '+')) {
    ++i;
  }
  UINT base = 10;
  if (text.size() - i >= 2 && text[i] == '0') {
    base = text[i + 1] == 'x' ? 16 : text[i + 1] == 'o' ? 8 : text[i + 1] == 'b' ? 2 : 10;
    i += base == 10 ? 0 : 2;
  }
  UINT total = 0;
  for (; i < text.size(); ++i) {
    const char c = text[i];
    const UINT digit = c >= '0' && c <= '9'   ? static_cast<UINT>(c - '0')
                       : c >= 'A' && c <= 'Z' ? static_cast<UINT>(c - 'A' + 10)
                       : c >= 'a' && c <= 'z' ? static_cast<UINT>(c - 'a' + 10)
                                              : 99;
    if (digit >= base) {
      break;
    }
    total = total * base + digit;
  }
  return negative ? 0u - total : total;
}

std::string_view SkipLeadingBlanks(std::string_view text) {
  while (!text.empty() && IsProfileBlank(text.front())) {
    text.remove_prefix(1);
  }
  return text;
}

}  // namespace

extern "C" {

DWORD WINAPI GetPrivateProfileStringA(const char* section, const char* key, const char* defaultText,
                                      char* buffer, DWORD capacity, const char* fileName) {
  if (buffer == nullptr || capacity == 0) {
    return 0;
  }
  const CProfilePath path(fileName);
  CProfileCache& cache = ProfileCache();
  const std::lock_guard<std::mutex> lock(cache.Lock());
  FileState state;
  CProfileIndex& index = cache.Read(path.c_str(), state);
  std::string_view fallback = defaultText != nullptr ? defaultText : "";
  if (section == nullptr) {
    const CList names = ListSectionNames(index.Bytes(), capacity);
    CopyList(buffer, capacity, names.bytes);
    return names.count;
  }
  if (key == nullptr) {
    const CList keys = ListKeyNames(index, section, capacity);
    if (keys.bytes[0] == '\0') {
      return CopyEntry(buffer, capacity, fallback, true);
    }
    CopyList(buffer, capacity, keys.bytes);
    return keys.count;
  }
  while (!fallback.empty() && fallback.back() == ' ') {
    fallback.remove_suffix(1);
  }
  // Windows copies the default as it is, quotes and all, when the file cannot be opened.
  if (state == FileState::kUnreadable) {
    return CopyEntry(buffer, capacity, fallback, false);
  }
  const CProfileIndex::CKeySlot* found =
      index.FindKey(index.FindSection(TrimProfileBlanks(section)), TrimProfileBlanks(key));
  return CopyEntry(buffer, capacity, found != nullptr && found->hasValue ? found->value : fallback,
                   true);
}

UINT WINAPI GetPrivateProfileIntA(const char* section, const char* key, INT defaultValue,
                                  const char* fileName) {
  // The platform reads the value into 30 characters, so a longer value is cut before it is read.
  char value[30];
  if (GetPrivateProfileStringA(section, key, "", value, sizeof value, fileName) == 0 ||
      value[0] == '\0') {
    return static_cast<UINT>(defaultValue);
  }
  return ReadProfileInteger(value);
}

DWORD WINAPI GetPrivateProfileSectionA(const char* section, char* buffer, DWORD capacity,
                                       const char* fileName) {
  if (section == nullptr || buffer == nullptr || capacity == 0) {
    return 0;
  }
  const CProfilePath path(fileName);
  CProfileCache& cache = ProfileCache();
  const std::lock_guard<std::mutex> lock(cache.Lock());
  FileState state;
  const std::string lines = SectionLines(cache.Read(path.c_str(), state), section);
  // With nothing to copy the platform writes two zeros, even into a buffer of one byte; here
  // only as many as fit. A list that fills the buffer exactly counts as cut, as on the platform.
  if (lines.empty() || capacity == 1) {
    CopyList(buffer, capacity, std::string_view("\0\0", 2));
    return 0;
  }
  if (lines.size() + 1 < capacity) {
    CopyList(buffer, capacity, std::string_view(lines.c_str(), lines.size() + 1));
    return static_cast<DWORD>(lines.size());
  }
  CopyList(buffer, capacity, lines.substr(0, capacity - 2) + std::string(2, '\0'));
  return capacity - 2;
}

BOOL WINAPI WritePrivateProfileStringA(const char* section, const char* key, const char* value,
                                       const char* fileName) {
  if (section == nullptr) {
    return kFailed;
  }
  const CProfilePath path(fileName);
  CProfileCache& cache = ProfileCache();
  const std::lock_guard<std::mutex> lock(cache.Lock());
  cache.Forget(path.c_str());
  std::string bytes;
  struct stat info;
  if (ReadProfileFile(path.c_str(), bytes, info) == FileState::kUnreadable) {
    return kFailed;
  }
  const ProfileEncoding encoding = ProfileEncodingOf(bytes);
  if (encoding != ProfileEncoding::kBytes) {
    std::string decoded = DecodeProfileText(bytes, encoding);
    if (EncodeProfileText(decoded, encoding) != bytes) {
      return kFailed;
    }
    bytes = std::move(decoded);
  }
  const CProfileText text(std::move(bytes));
  std::optional<std::string> edited;
  if (key == nullptr) {
    edited = text.DeleteSection(section);
  } else if (value == nullptr) {
    edited = text.DeleteKey(section, key);
  } else {
    edited =
        text.SetValue(TrimProfileBlanks(section), TrimProfileBlanks(key), SkipLeadingBlanks(value));
  }
  if (!edited) {
    return kFailed;
  }
  // Nothing to change (the same value again, or nothing to delete): the file is left alone, and
  // a missing file is not created.
  if (*edited == text.Bytes()) {
    return kSucceeded;
  }
  // A file of single bytes that would begin with a UTF-16 mark (a key of those bytes before the
  // first section) would read as another file altogether.
  const std::string written = EncodeProfileText(*edited, encoding);
  if (ProfileEncodingOf(written) != encoding) {
    return kFailed;
  }
  return ReplaceFileContents(path.c_str(), written) ? kSucceeded : kFailed;
}

}  // extern "C"
