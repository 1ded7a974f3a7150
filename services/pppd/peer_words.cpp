#include "peer_words.h"

#include <cstring>

#include "entry_fields.h"
#include "service_answers.h"

namespace {

bool IsLetterOrDigit(char c) {
  return (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z') || (c >= '0' && c <= '9');
}

// Characters that neither pppd's lexer nor the shell reads as anything but themselves.
bool IsPlainWord(std::string_view text) {
  if (text.empty()) {
    return false;
  }
  for (const char c : text) {
    if (!IsLetterOrDigit(c) && std::strchr("/._-+:=,@", c) == nullptr) {
      return false;
    }
  }
  return true;
}

}  // namespace

std::string PppWord(std::string_view text) {
  if (IsPlainWord(text)) {
    return std::string(text);
  }
  std::string word = "\"";
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
  return word + "\"";
}

std::string ShellWord(std::string_view text) {
  if (IsPlainWord(text)) {
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
    if (!IsLetterOrDigit(c) && c != '_') {
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
  if (server.empty() || server.size() > 253 || !IsLetterOrDigit(server[0])) {
    return false;
  }
  for (const char c : server) {
    if (!IsLetterOrDigit(c) && c != '.' && c != '-' && c != '_') {
      return false;
    }
  }
  return true;
}
