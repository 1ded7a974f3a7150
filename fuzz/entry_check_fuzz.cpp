// dialkit-check on arbitrary files, both sections. Every finding names a real line: the file as a
// whole (0), or a line that holds a header or a key, and, for a finding about a key (one the tool
// reads or not), a line that spells that key, so that the checker's line numbers cannot drift
// from the profile component's reading. Both forms of the report stay safe for a terminal
// (printable ASCII and line feeds only), and the JSON form is well-formed.
#include <algorithm>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

#include "base/text.h"
#include "check_report.h"
#include "entry_check.h"
#include "fuzz_support.h"
#include "platform/profile_encoding.h"

namespace {

using std::string_view;

// The file's lines, split where the profile component splits them.
std::vector<string_view> Lines(string_view bytes) {
  std::vector<string_view> lines;
  while (!bytes.empty()) {
    const size_t end = std::min(bytes.find_first_of("\r\n"), bytes.size());
    lines.push_back(bytes.substr(0, end));
    bytes.remove_prefix(end);
    bytes.remove_prefix(bytes.starts_with("\r\n") ? 2 : std::min<size_t>(1, bytes.size()));
  }
  return lines;
}

bool ContainsIgnoringCase(string_view text, string_view part) {
  return std::search(text.begin(), text.end(), part.begin(), part.end(), [](char a, char b) {
           return FoldLetterCase(a) == FoldLetterCase(b);
         }) != text.end();
}

// Takes one JSON value off the front of `text`, as far as the reports go: objects, arrays, strings
// (escapes of a character below 0x100), whole numbers and literals. False when there is none.
bool TakeJsonValue(string_view& text) {
  const auto take = [&text](char c) {
    text.remove_prefix(std::min(text.find_first_not_of(" \n"), text.size()));
    const bool taken = text.starts_with(c);
    text.remove_prefix(taken ? 1 : 0);
    return taken;
  };
  const auto takeString = [&] {
    if (!take('"')) {
      return false;
    }
    while (!text.empty() && text[0] != '"') {
      const bool unicode = text.starts_with("\\u");
      if (unicode && text.substr(2, 2) != "00") {
        return false;
      }
      text.remove_prefix(std::min<size_t>(text[0] != '\\' ? 1 : unicode ? 6 : 2, text.size()));
    }
    return take('"');
  };
  for (const auto& [open, close] : {std::pair{'{', '}'}, std::pair{'[', ']'}}) {
    if (take(open)) {
      if (take(close)) {
        return true;
      }
      do {
        if ((open == '{' && !(takeString() && take(':'))) || !TakeJsonValue(text)) {
          return false;
        }
      } while (take(','));
      return take(close);
    }
  }
  if (text.starts_with('"')) {
    return takeString();
  }
  const size_t end = std::min(text.find_first_of(",]} \n"), text.size());
  const string_view word = text.substr(0, end);
  text.remove_prefix(end);
  return word == "true" || word == "false" || word == "null" ||
         (!word.empty() && word.find_first_not_of("0123456789") == string_view::npos);
}

template <typename Write>
std::string Report(Write write) {
  char* buffer = nullptr;
  size_t size = 0;
  std::FILE* out = open_memstream(&buffer, &size);
  FUZZ_CHECK(out != nullptr);
  write(out);
  std::fclose(out);
  std::string text(buffer, size);
  std::free(buffer);
  for (const char c : text) {
    FUZZ_CHECK(c == '\n' || (c >= ' ' && c < 0x7F));
  }
  return text;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  const string_view bytes(reinterpret_cast<const char*>(data), size);
  const std::string path = WriteScratchFile("isp.ini", bytes);
  // A UTF-16 file's lines are those of its text, as the profile functions hand it over.
  const std::string text = DecodeProfileText(bytes, ProfileEncodingOf(bytes));
  const std::vector<string_view> lines = Lines(text);
  const CEntryFileCheck check = CheckEntryFile(path.c_str(), nullptr);
  FUZZ_CHECK(check.readable && check.entries.size() == 2);
  for (const CFinding& finding : check.findings) {
    FUZZ_CHECK(finding.line >= 0 && static_cast<size_t>(finding.line) <= lines.size());
    if (finding.line == 0) {
      continue;
    }
    const string_view line = lines[static_cast<size_t>(finding.line) - 1];
    FUZZ_CHECK(line.find_first_not_of(" \t\v\f\x1a") != string_view::npos);
    const bool onKeyLine = finding.kind != FindingKind::kDefaultPhoneNumber &&
                           finding.kind != FindingKind::kDefaultAreaCode;
    if (onKeyLine && !finding.key.empty()) {
      FUZZ_CHECK(ContainsIgnoringCase(line, finding.key));
    }
  }
  Report([&](std::FILE* out) { WriteTextReport(out, "isp.ini", check); });
  const std::string json = Report([&](std::FILE* out) { WriteJsonReport(out, "isp.ini", check); });
  string_view rest = json;
  FUZZ_CHECK(TakeJsonValue(rest) && rest.find_first_not_of(" \n") == string_view::npos);
  return 0;
}
