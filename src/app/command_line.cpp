// The command-line parse. The grammar: words separated by blanks; a word that carries a value is
// key = value, with blanks allowed around the equals sign; a value is either quoted (anything up
// to the next double quote) or runs to the next blank. Words without a value, and words starting
// with a slash or a hyphen (options of other tools), are passed over.
#include "app/command_line.h"

#include <cstring>

#include "framework/text.h"
#include "platform/file_system.h"
#include "platform/result_codes.h"

char g_entryFilePath[kCommandLineTextCapacity];
char g_mainEntryName[kCommandLineTextCapacity];
char g_vpnEntryName[kCommandLineTextCapacity];
int32_t g_askForDevice;

namespace {

constexpr const char* kBlanks = " \t\n";
constexpr const char* kKeyDelimiters = " \t=";
constexpr size_t kKeyCapacity = 31;

// True when the text reads as the decimal integer 0: white space, an optional sign, then digits
// up to the first other character, as the C runtime reads an integer, and no digits at all reads
// as 0. Only zero against non-zero matters here, so no value is formed and none can overflow.
bool ReadsAsZero(const char* text) {
  while (*text == ' ' || (*text >= '\t' && *text <= '\r')) {
    ++text;
  }
  if (*text == '+' || *text == '-') {
    ++text;
  }
  for (; *text >= '0' && *text <= '9'; ++text) {
    if (*text != '0') {
      return false;
    }
  }
  return true;
}

}  // namespace

const char* CopySpan(char* destination, size_t capacity, const char* text, const char* set) {
  const size_t length = std::strspn(text, set);
  CopyText(destination, capacity, text, length);
  return text + length;
}

const char* CopyToken(char* destination, size_t capacity, const char* text, const char* set) {
  const size_t length = std::strcspn(text, set);
  CopyText(destination, capacity, text, length);
  return text + length;
}

const char* SkipBlanks(const char* text) {
  char scratch[2];
  return CopySpan(scratch, sizeof scratch, text, kBlanks);
}

const char* ReadValue(char* destination, size_t capacity, const char* text) {
  text = SkipBlanks(text);
  if (*text != '"') {
    return CopyToken(destination, capacity, text, kBlanks);
  }
  const char* end = CopyToken(destination, capacity, text + 1, "\"");
  return *end == '"' ? end + 1 : end;
}

int32_t ParseCommandLine(const char* text) {
  g_askForDevice = 0;
  int32_t result = kInitFileNotFound;
  for (;;) {
    char key[kKeyCapacity];
    text = CopyToken(key, sizeof key, SkipBlanks(text), kKeyDelimiters);
    if (key[0] == '\0') {
      return result;
    }
    if (key[0] == '/' || key[0] == '-') {
      continue;
    }
    text = SkipBlanks(text);
    if (*text != '=') {
      continue;
    }
    char value[kCommandLineTextCapacity];
    text = ReadValue(value, sizeof value, text + 1);

    if (TextEqualsIgnoringCase(key, "INIT")) {
      if (!FormFullPath(g_entryFilePath, sizeof g_entryFilePath, value)) {
        return kInitPathNotFormed;
      }
      if (!PathExists(g_entryFilePath)) {
        return kInitFileNotFound;
      }
      result = 0;
    } else if (TextEqualsIgnoringCase(key, "CONNECT")) {
      CopyText(g_mainEntryName, value);
    } else if (TextEqualsIgnoringCase(key, "VPN")) {
      CopyText(g_vpnEntryName, value);
    } else if (TextEqualsIgnoringCase(key, "ASK")) {
      if (ReadsAsZero(value)) {
        g_askForDevice = 1;
      }
    }
  }
}
