// The profile component on POSIX: the four Win32 profile functions over files of the stand-in
// system. Reads give what the Windows functions give, byte for byte and count for count (the
// file syntax is described in profile_text.h), with one exception: no call writes past the
// capacity it was given. Writes differ on purpose: Windows rewrites the whole file in its own
// layout, while here only the line concerned changes (or lines are added) and the file is
// replaced atomically. Every call reads the file afresh; nothing is cached.
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <cstdlib>
#include <cstring>
#include <optional>
#include <string>
#include <string_view>

#include "framework/text.h"
#include "platform/posix/profile_text.h"
#include "platform/posix/stand_in_system.h"
#include "platform/profile.h"

namespace {

constexpr BOOL kSucceeded = 1;
constexpr BOOL kFailed = 0;

// Windows looks a file name without a directory part up in the Windows directory, and takes
// win.ini there when the name is null; the stand-in system's root plays that directory.
std::string ResolveProfilePath(const char* fileName) {
  if (fileName == nullptr) {
    return StandInDefaultProfilePath();
  }
  if (std::strchr(fileName, '/') == nullptr) {
    return StandInSystemRoot() + "/" + fileName;
  }
  return fileName;
}

std::string DirectoryOf(const std::string& path) {
  const size_t slash = path.rfind('/');
  if (slash == std::string::npos) {
    return ".";
  }
  return slash == 0 ? "/" : path.substr(0, slash);
}

bool IsDirectory(const std::string& path) {
  struct stat info;
  return stat(path.c_str(), &info) == 0 && S_ISDIR(info.st_mode);
}

// A missing file reads as an empty one. Anything else that keeps the file from being read (a
// missing directory, no permission, a directory in its place) makes it unreadable, which Windows
// treats slightly differently (see GetPrivateProfileStringA).
enum class FileState { kRead, kMissing, kUnreadable };

FileState ReadProfileFile(const std::string& path, std::string& bytes) {
  bytes.clear();
  const int file = open(path.c_str(), O_RDONLY | O_CLOEXEC);
  if (file < 0) {
    return errno == ENOENT && IsDirectory(DirectoryOf(path)) ? FileState::kMissing
                                                             : FileState::kUnreadable;
  }
  struct stat info;
  FileState state =
      fstat(file, &info) == 0 && !S_ISDIR(info.st_mode) ? FileState::kRead : FileState::kUnreadable;
  char chunk[16384];
  while (state == FileState::kRead) {
    const ssize_t got = read(file, chunk, sizeof chunk);
    if (got > 0) {
      bytes.append(chunk, static_cast<size_t>(got));
    } else if (got == 0) {
      break;
    } else if (errno != EINTR) {
      state = FileState::kUnreadable;
    }
  }
  close(file);
  return state;
}

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
CList ListKeyNames(const CProfileText& text, const char* section, DWORD capacity) {
  CList list{{}, 0};
  size_t room = capacity;
  if (const CProfileSection* found = text.FindSection(section)) {
    for (const size_t index : found->keys) {
      const CProfileLine& line = text.Line(index);
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
  }
  list.bytes.push_back('\0');
  const bool cut = room <= 1;
  list.count = static_cast<DWORD>(cut ? (capacity >= 2 ? capacity - 2 : 0) : list.bytes.size() - 1);
  return list;
}

// The names of all sections but the unnamed one before the first header, duplicates included.
// A name that fills the rest of the buffer exactly counts as not fitting, as on the platform.
CList ListSectionNames(const CProfileText& text, DWORD capacity) {
  if (capacity == 1) {
    return {std::string(1, '\0'), 0};
  }
  CList list{{}, 0};
  size_t room = capacity - 1;
  for (const CProfileSection& section : text.Sections()) {
    if (section.name.empty()) {
      continue;
    }
    if (section.name.size() + 1 >= room) {
      list.bytes.append(section.name.substr(0, room - 1)).append(2, '\0');
      return {list.bytes, capacity - 2};
    }
    list.bytes.append(section.name).push_back('\0');
    room -= section.name.size() + 1;
  }
  list.bytes.push_back('\0');
  list.count = static_cast<DWORD>(list.bytes.size() - 1);
  return list;
}

// The lines of `section` as key=value texts (a key without a value gives its name alone), each
// ended by a zero; comments are left out and values keep their quotes.
std::string SectionLines(const CProfileText& text, const char* section) {
  std::string lines;
  if (const CProfileSection* found = text.FindSection(section)) {
    for (const size_t index : found->keys) {
      const CProfileLine& line = text.Line(index);
      if (line.IsComment()) {
        continue;
      }
      lines.append(line.name);
      if (line.hasValue) {
        lines.append("=").append(line.value);
      }
      lines.push_back('\0');
    }
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

bool WriteAll(int file, std::string_view bytes) {
  while (!bytes.empty()) {
    const ssize_t written = write(file, bytes.data(), bytes.size());
    if (written < 0) {
      if (errno == EINTR) {
        continue;
      }
      return false;
    }
    bytes.remove_prefix(static_cast<size_t>(written));
  }
  return true;
}

// Writes `bytes` to a new file beside `path`, flushes it and renames it over `path`, so that the
// file is at every moment the old one or the new one, never a half-written or empty one, whatever
// happens to the disk or the process. The old file's permissions carry over. A symbolic link is
// followed, so that the link stays and the file it names is replaced.
bool ReplaceFileAtomically(const std::string& path, std::string_view bytes) {
  std::string target = path;
  struct stat info;
  if (lstat(path.c_str(), &info) == 0 && S_ISLNK(info.st_mode)) {
    if (char* resolved = realpath(path.c_str(), nullptr)) {
      target = resolved;
      std::free(resolved);
    }
  }
  const bool exists = stat(target.c_str(), &info) == 0;
  // The rename would get past a file the person made read-only; Windows cannot write it either.
  if (exists && access(target.c_str(), W_OK) != 0) {
    return false;
  }
  const size_t slash = target.rfind('/');
  const size_t nameBegin = slash == std::string::npos ? 0 : slash + 1;
  const std::string stem =
      target.substr(0, nameBegin) + "." + target.substr(nameBegin) + "." + std::to_string(getpid());
  // A name left behind by a process that died with our process id is stepped over.
  std::string temporary;
  int file = -1;
  for (int attempt = 0; attempt < 100 && file < 0; ++attempt) {
    temporary = stem + "." + std::to_string(attempt) + ".tmp";
    file = open(temporary.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, 0666);
    if (file < 0 && errno != EEXIST) {
      return false;
    }
  }
  if (file < 0) {
    return false;
  }
  bool written = WriteAll(file, bytes) && (!exists || fchmod(file, info.st_mode & 07777) == 0) &&
                 fsync(file) == 0;
  written = close(file) == 0 && written;
  if (!written || rename(temporary.c_str(), target.c_str()) != 0) {
    unlink(temporary.c_str());
    return false;
  }
  // The rename itself lasts only once the directory is on the disk; a failure here loses no data.
  const int directory = open(DirectoryOf(target).c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
  if (directory >= 0) {
    fsync(directory);
    close(directory);
  }
  return true;
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
  std::string bytes;
  const FileState state = ReadProfileFile(ResolveProfilePath(fileName), bytes);
  const CProfileText text(std::move(bytes));
  std::string_view fallback = defaultText != nullptr ? defaultText : "";
  if (section == nullptr) {
    const CList names = ListSectionNames(text, capacity);
    CopyList(buffer, capacity, names.bytes);
    return names.count;
  }
  if (key == nullptr) {
    const CList keys = ListKeyNames(text, section, capacity);
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
  const CProfileSection* found = text.FindSection(TrimProfileBlanks(section));
  const CProfileLine* line = found ? text.FindKey(*found, TrimProfileBlanks(key)) : nullptr;
  return CopyEntry(buffer, capacity, line != nullptr && line->hasValue ? line->value : fallback,
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
  std::string bytes;
  ReadProfileFile(ResolveProfilePath(fileName), bytes);
  const CProfileText text(std::move(bytes));
  const std::string lines = SectionLines(text, section);
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
  const std::string path = ResolveProfilePath(fileName);
  std::string bytes;
  if (ReadProfileFile(path, bytes) == FileState::kUnreadable) {
    return kFailed;
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
  return ReplaceFileAtomically(path, *edited) ? kSucceeded : kFailed;
}

}  // extern "C"
