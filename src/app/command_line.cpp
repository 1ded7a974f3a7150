// The command-line parse. The grammar: words separated by blanks; a word that carries a value is
// key = value, with blanks allowed around the equals sign; a value is either quoted (anything up
// to the next double quote) or runs to the next blank. Words without a value, and words starting
// with a slash or a hyphen (options, read by a scan of their own), are passed over.
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

// Where the value that begins at `text` lies: quoted, everything up to the next double quote,
// and the text goes on after that quote (or at the end, when there is none); unquoted, up to the
// next blank.
struct CValueSpan {
  const char* start;
  size_t length;
  const char* next;
};

CValueSpan FindValue(const char* text) {
  if (*text != '"') {
    const size_t length = std::strcspn(text, kBlanks);
    return {text, length, text + length};
  }
  const size_t length = std::strcspn(text + 1, "\"");
  const char* end = text + 1 + length;
  return {text + 1, length, *end == '"' ? end + 1 : end};
}

bool IsOptionStart(char c) {
  return c == '/' || c == '-';
}

void TakeOption(const std::string& name, const std::string* value, CRunOptions* options) {
  if (value == nullptr && (TextEqualsIgnoringCase(name.c_str(), "quiet") ||
                           TextEqualsIgnoringCase(name.c_str(), "q"))) {
    options->quiet = true;
  } else if (value == nullptr && TextEqualsIgnoringCase(name.c_str(), "overwrite")) {
    options->overwrite = true;
  } else if (value != nullptr && TextEqualsIgnoringCase(name.c_str(), "log")) {
    options->logFile = *value;
  }
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
  const CValueSpan value = FindValue(SkipBlanks(text));
  CopyText(destination, capacity, value.start, value.length);
  return value.next;
}

CRunOptions ReadRunOptions(const char* text) {
  CRunOptions options;
  for (text = SkipBlanks(text); *text != '\0'; text = SkipBlanks(text)) {
    std::string word;
    if (IsOptionStart(*text)) {
      const size_t nameLength = std::strcspn(text, " \t\n:");
      word.assign(text, nameLength);
      text += nameLength;
      if (*text == ':') {
        const CValueSpan value = FindValue(text + 1);
        word.append(":").append(value.start, value.length);
        text = value.next;
      }
    } else if (*text == '"' && IsOptionStart(text[1])) {
      // Quoted whole, as an argument holding a blank arrives from a POSIX shell.
      const CValueSpan value = FindValue(text);
      word.assign(value.start, value.length);
      text = value.next;
    } else {
      // A key and its value, read as the parse reads them.
      text = SkipBlanks(text + std::strcspn(text, kKeyDelimiters));
      if (*text == '=') {
        text = FindValue(SkipBlanks(text + 1)).next;
      }
      continue;
    }
    const size_t colon = word.find(':');
    const std::string value = colon == std::string::npos ? "" : word.substr(colon + 1);
    TakeOption(word.substr(1, colon - 1), colon == std::string::npos ? nullptr : &value, &options);
  }
  return options;
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
