// The command-line parse. The grammar: words separated by blanks; a word that carries a value is
// key = value, with blanks allowed around the equals sign; a value is either quoted (anything up
// to the next double quote) or runs to the next blank. Words without a value, and words starting
// with a slash or a hyphen (options, read by a scan of their own), are passed over.
#include "app/command_line.h"

#include <cstring>
#include <optional>
#include <string_view>

#include "base/text.h"
#include "platform/paths.h"
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

// An option's name (after its slash or hyphen) and what follows its colon, if it has one; false
// when the two make no option.
bool TakeOption(std::string_view name, std::optional<std::string_view> value,
                CRunOptions* options) {
  if (!value && (TextEqualsIgnoringCase(name, "QUIET") || TextEqualsIgnoringCase(name, "Q"))) {
    options->quiet = true;
  } else if (!value && TextEqualsIgnoringCase(name, "OVERWRITE")) {
    options->overwrite = true;
  } else if (!value && TextEqualsIgnoringCase(name, "REMOVE")) {
    options->remove = true;
  } else if (!value && TextEqualsIgnoringCase(name, "CHECK")) {
    options->check = options->quiet = true;
  } else if (value && TextEqualsIgnoringCase(name, "LOG")) {
    options->logFile = *value;
  } else if (value && TextEqualsIgnoringCase(name, "REPORT")) {
    options->reportFile = *value;
  } else if (value && TextEqualsIgnoringCase(name, "DEVICE")) {
    options->device = *value;
  } else if (value && TextEqualsIgnoringCase(name, "SECRETS")) {
    options->secretsFile = *value;
  } else if (value &&
             (TextEqualsIgnoringCase(*value, "ALWAYS") ||
              TextEqualsIgnoringCase(*value, "CHANGED")) &&
             TextEqualsIgnoringCase(name, "CREDENTIALS")) {
    options->credentialsAlways = TextEqualsIgnoringCase(*value, "ALWAYS");
  } else {
    return false;
  }
  return true;
}

// Calls `visit(key, value)` for every word of the text that carries a value, in order, as long as
// it answers true. Words without a value and option words are passed over. Answers where the
// reading ended when it reached the end of the text or an equals sign where a key belongs.
template <typename Visit>
const char* ForEachKeyValue(const char* text, Visit visit) {
  for (;;) {
    char key[kKeyCapacity];
    text = CopyToken(key, sizeof key, SkipBlanks(text), kKeyDelimiters);
    if (key[0] == '\0') {
      return text;
    }
    if (IsOptionStart(key[0])) {
      continue;
    }
    text = SkipBlanks(text);
    if (*text != '=') {
      continue;
    }
    char value[kCommandLineTextCapacity];
    text = ReadValue(value, sizeof value, text + 1);
    if (!visit(key, value)) {
      return nullptr;
    }
  }
}

bool IsKey(std::string_view key) {
  return TextEqualsIgnoringCase(key, "INIT") || TextEqualsIgnoringCase(key, "CONNECT") ||
         TextEqualsIgnoringCase(key, "VPN") || TextEqualsIgnoringCase(key, "ASK");
}

// CONNECT and VPN into their values; false for any other key.
bool TakeEntryName(const char* key, const char* value) {
  if (TextEqualsIgnoringCase(key, "CONNECT")) {
    CopyText(g_mainEntryName, value);
  } else if (TextEqualsIgnoringCase(key, "VPN")) {
    CopyText(g_vpnEntryName, value);
  } else {
    return false;
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
  const CValueSpan value = FindValue(SkipBlanks(text));
  CopyText(destination, capacity, value.start, value.length);
  return value.next;
}

CRunOptions ReadRunOptions(const char* text) {
  // Where the parse stops reading: the words after it are not read, not even a known key.
  const char* parseEnd = ForEachKeyValue(text, [](const char*, const char*) { return true; });
  CRunOptions options;
  for (text = SkipBlanks(text); *text != '\0'; text = SkipBlanks(text)) {
    const char* word = text;
    std::string_view name;
    std::optional<std::string_view> value;
    if (IsOptionStart(*text)) {
      name = std::string_view(text + 1, std::strcspn(text + 1, " \t\n:"));
      text = name.data() + name.size();
      if (*text == ':') {
        const CValueSpan span = FindValue(text + 1);
        value = std::string_view(span.start, span.length);
        text = span.next;
      }
    } else if (*text == '"' && IsOptionStart(text[1])) {
      // Quoted whole, as an argument holding a blank arrives from a POSIX shell.
      const CValueSpan span = FindValue(text);
      const std::string_view option(span.start + 1, span.length - 1);
      const size_t colon = option.find(':');
      name = option.substr(0, colon);
      if (colon != std::string_view::npos) {
        value = option.substr(colon + 1);
      }
      text = span.next;
    } else {
      // A key and its value, read as the parse reads them.
      const std::string_view key(text, std::strcspn(text, kKeyDelimiters));
      text = SkipBlanks(text + key.size());
      const bool valued = *text == '=';
      if (valued) {
        text = FindValue(SkipBlanks(text + 1)).next;
      }
      const char* why = word >= parseEnd ? "the command line is read no further than an \"=\" "
                                           "where a key belongs"
                        : !valued        ? "a key without \"=\" and a value"
                        : !IsKey(key)    ? "no key of this program (they are INIT, CONNECT, VPN "
                                           "and ASK)"
                                         : nullptr;
      if (why != nullptr) {
        options.ignored.push_back({std::string(word, valued ? text : word + key.size()), why});
      }
      continue;
    }
    if (!TakeOption(name, value, &options)) {
      options.ignored.push_back(
          {std::string(word, text),
           "no option of this program (they are /quiet, /q, /overwrite, /remove, /check, "
           "/log:FILE, /report:FILE, /device:DEVICE, /secrets:FILE and "
           "/credentials:always)"});
    }
  }
  return options;
}

int32_t ParseCommandLine(const char* text) {
  g_askForDevice = 0;
  int32_t result = kInitFileNotFound;
  ForEachKeyValue(text, [&](const char* key, const char* value) {
    if (TextEqualsIgnoringCase(key, "INIT")) {
      if (!FormFullPath(g_entryFilePath, sizeof g_entryFilePath, value)) {
        result = kInitPathNotFormed;
        return false;
      }
      if (!PathExists(g_entryFilePath)) {
        result = kInitFileNotFound;
        return false;
      }
      result = 0;
    } else if (!TakeEntryName(key, value) && TextEqualsIgnoringCase(key, "ASK") &&
               ReadsAsZero(value)) {
      g_askForDevice = 1;
    }
    return true;
  });
  return result;
}

void ParseEntryNames(const char* text) {
  ForEachKeyValue(text, [](const char* key, const char* value) {
    TakeEntryName(key, value);
    return true;
  });
}
