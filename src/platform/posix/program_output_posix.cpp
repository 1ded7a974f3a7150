// UTF-8 and standard output on POSIX.
#include <unistd.h>

#include <cerrno>

#include "platform/file_replacement.h"
#include "platform/profile_encoding.h"
#include "platform/program_output.h"

namespace {

bool IsContinuation(std::string_view text, size_t at) {
  return at < text.size() && (static_cast<unsigned char>(text[at]) & 0xC0) == 0x80;
}

// The length of the well-formed UTF-8 character at `at` (no overlong form, no surrogate, nothing
// above U+10FFFF); 0 when the bytes there form none.
size_t Utf8CharacterLength(std::string_view text, size_t at) {
  const auto lead = static_cast<unsigned char>(text[at]);
  const size_t length = lead < 0x80                    ? 1
                        : lead >= 0xC2 && lead <= 0xDF ? 2
                        : lead >= 0xE0 && lead <= 0xEF ? 3
                        : lead >= 0xF0 && lead <= 0xF4 ? 4
                                                       : 0;
  for (size_t i = 1; i < length; ++i) {
    if (!IsContinuation(text, at + i)) {
      return 0;
    }
  }
  if (length < 3) {
    return length;
  }
  const auto second = static_cast<unsigned char>(text[at + 1]);
  const bool inRange = lead == 0xE0   ? second >= 0xA0
                       : lead == 0xED ? second < 0xA0
                       : lead == 0xF0 ? second >= 0x90
                       : lead == 0xF4 ? second < 0x90
                                      : true;
  return inRange ? length : 0;
}

}  // namespace

std::string TextInUtf8(std::string_view text) {
  std::string utf8;
  utf8.reserve(text.size());
  for (size_t at = 0; at < text.size();) {
    const size_t length = Utf8CharacterLength(text, at);
    if (length > 0) {
      utf8.append(text.substr(at, length));
      at += length;
    } else {
      AppendUtf8(utf8, Windows1252Character(static_cast<unsigned char>(text[at++])));
    }
  }
  return utf8;
}

bool WriteStandardOutput(std::string_view bytes) {
  while (!bytes.empty()) {
    const ssize_t written = write(STDOUT_FILENO, bytes.data(), bytes.size());
    if (written < 0 && errno == EINTR) {
      continue;
    }
    if (written <= 0) {
      return false;
    }
    bytes.remove_prefix(static_cast<size_t>(written));
  }
  return true;
}

bool WriteOutputFile(const char* path, const std::string& bytes) {
  return ReplaceFileContents(path, bytes);
}
