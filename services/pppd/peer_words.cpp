// Writing names and values as single words of pppd's syntax, or refusing them.
#include "peer_words.h"

#include <algorithm>

#include "entry_fields.h"
#include "service_answers.h"

namespace {

bool IsLetterOrDigit(char c) {
  return (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z') || (c >= '0' && c <= '9');
}

// Whether `text` holds only ASCII letters, digits and `marks`.
bool IsMadeOf(std::string_view text, std::string_view marks) {
  return std::all_of(text.begin(), text.end(), [marks](char c) {
    return IsLetterOrDigit(c) || marks.find(c) != std::string_view::npos;
  });
}

// Besides letters and digits: the characters that the shell reads as nothing but themselves, and
// pppd's lexer too, which reads '=' so as well (the shell takes a first word with '=' for an
// assignment); those that a port's path is made of; a host name's; a peer file name's.
constexpr std::string_view kShellPlainMarks = "/._-+:,@";
constexpr std::string_view kPlainMarks = "/._-+:,@=";
constexpr std::string_view kPortMarks = "/._-+:";
constexpr std::string_view kServerMarks = ".-_";
constexpr std::string_view kFileNameMarks = "_";

}  // namespace

std::string PppWord(std::string_view text) {
  if (!text.empty() && IsMadeOf(text, kPlainMarks)) {
    return std::string(text);
  }
  // Room for the longest form at once: a word that grows leaves its earlier copies behind, and
  // a secret's must not be.
  std::string word;
  word.reserve(text.size() * 4 + 2);
  word += '"';
  for (const char c : text) {
    const auto byte = static_cast<unsigned char>(c);
    if (byte < 0x20 || byte == 0x7F) {
      word += '\\';
      word += static_cast<char>('0' + (byte >> 6));
      word += static_cast<char>('0' + ((byte >> 3) & 7));
      word += static_cast<char>('0' + (byte & 7));
      continue;
    }
    if (c == '"' || c == '\\') {
      word += '\\';
    }
    word += c;
  }
  word += '"';
  return word;
}

std::string ShellWord(std::string_view text) {
  if (!text.empty() && IsMadeOf(text, kShellPlainMarks)) {
    return std::string(text);
  }
  std::string word = "'";
  for (const char c : text) {
    word += c == '\'' ? std::string("'\\''") : std::string(1, c);
  }
  return word + "'";
}

std::string CommentText(std::string_view text) {
  std::string comment;
  AppendEscapedStoredText(comment, text);
  return comment;
}

std::string PeerFileName(std::string_view entryName) {
  std::string file;
  bool apart = false;
  for (const char c : entryName) {
    if (!IsMadeOf({&c, 1}, kFileNameMarks)) {
      apart = true;
      continue;
    }
    if (apart && !file.empty()) {
      file += '-';
    }
    apart = false;
    file += c;
  }
  return file;
}

bool IsPeerName(const char* name) {
  if (!IsPlatformEntryName(name)) {
    return false;
  }
  const size_t fileLength = PeerFileName(name).size();
  return fileLength > 0 && fileLength <= 255;
}

bool IsServerName(std::string_view server) {
  return !server.empty() && server.size() <= 253 && IsLetterOrDigit(server[0]) &&
         IsMadeOf(server, kServerMarks);
}

std::string ModemPort(const std::string& root, std::string_view deviceName) {
  const size_t open = deviceName.rfind(" (/");
  std::string_view path;
  if (open != std::string_view::npos && deviceName.ends_with(')')) {
    path = deviceName.substr(open + 2, deviceName.size() - open - 3);
  } else if (deviceName.starts_with('/')) {
    path = deviceName;
  }
  const std::string devices = root + "/dev/";
  // The root is the caller's; what lies below its /dev is the value's.
  if (!path.starts_with(devices) || !IsMadeOf(path.substr(devices.size()), kPortMarks)) {
    return {};
  }
  for (std::string_view parts = path.substr(devices.size() - 1); !parts.empty();) {
    parts.remove_prefix(1);
    const std::string_view part = parts.substr(0, parts.find('/'));
    if (part.empty() || part == "." || part == "..") {
      return {};
    }
    parts.remove_prefix(part.size());
  }
  return std::string(path);
}
