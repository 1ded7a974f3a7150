// Reading a pppd peer file back, from any bytes. A file taken for the service's own tells pppd
// nothing but what the service writes for the record read back: the words that pppd's lexer
// (ported here, quotes, escapes, comments and all) reads from it, less the options a person may
// add and their arguments, are those of the service's own file for that record; and that file
// with the person's lines reads back the same. Any file is named so that its name gives its file.
#include <algorithm>
#include <cctype>
#include <cstdint>
#include <cstring>
#include <string>
#include <string_view>
#include <vector>

#include "fuzz_support.h"
#include "peer_file.h"
#include "peer_words.h"

namespace {

constexpr char kRoot[] = "/nonexistent-dialkit-root";

// The words pppd reads from an options file, each cut as pppd keeps it.
std::vector<std::string> PppdWords(std::string_view text) {
  std::vector<std::string> words;
  std::string word;
  bool inWord = false;
  bool escape = false;
  bool comment = false;
  char quote = '\0';
  const auto digit = [&](size_t at, int base) {
    const int c = at < text.size() ? std::tolower(static_cast<unsigned char>(text[at])) : 0;
    const int value = std::isdigit(c) ? c - '0' : std::isxdigit(c) ? c - 'a' + 10 : base;
    return value < base ? value : -1;
  };
  const auto end = [&]() {
    words.push_back(word.substr(0, std::min(word.find('\0'), size_t{1023})));
    word.clear();
  };
  for (size_t at = 0; at < text.size(); ++at) {
    const char c = text[at];
    if (comment || (escape && c == '\n')) {  // a comment runs to the line end; a backslash joins
      comment = comment && c != '\n';
      escape = false;
    } else if (escape) {
      escape = false;
      inWord = true;
      int value = c;
      const size_t named = std::string_view("abfnrst").find(c);
      if (named != std::string_view::npos) {
        value = "\a\b\f\n\r \t"[named];
      } else if (digit(at, 8) >= 0) {
        for (int n = value = 0; n < 3 && digit(at, 8) >= 0; ++n) {
          value = value * 8 + digit(at++, 8);
        }
        --at;
      } else if (c == 'x') {
        for (int n = value = 0; n < 2 && digit(at + 1, 16) >= 0; ++n) {
          value = value * 16 + digit(++at, 16);
        }
      }
      word += static_cast<char>(value);
    } else if (c == '\\') {
      escape = true;
    } else if (quote != '\0' ? c == quote : (c == '"' || c == '\'')) {
      quote = quote != '\0' ? '\0' : c;
      inWord = true;
    } else if (quote == '\0' && (std::isspace(static_cast<unsigned char>(c)) || c == '#')) {
      if (inWord) {
        end();
      }
      inWord = false;
      comment = c == '#';
    } else {
      word += c;
      inWord = true;
    }
  }
  if (!word.empty()) {  // a word that the file's end cuts short counts only with characters
    end();
  }
  return words;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  const std::string_view text(reinterpret_cast<const char*>(data), size);
  const CPeerContents contents = ReadPeerContents("Home", text, kRoot);
  FUZZ_CHECK(PeerFileName(contents.entryName) == "Home");
  FUZZ_CHECK(contents.ours || contents.personLines.empty());
  std::string ours;
  if (!contents.ours) {
    return 0;
  }
  FUZZ_CHECK(FormatPeer(contents.entryName, contents.record, kRoot, &ours, contents.later) == 0);
  const std::vector<std::string> read = PppdWords(text);
  const std::vector<std::string> written = PppdWords(ours);
  size_t matched = 0;
  for (size_t i = 0, arguments = 0; i < read.size(); i += arguments + 1) {
    arguments = 0;
    if (matched < written.size() && read[i] == written[matched]) {
      ++matched;
    } else {
      FUZZ_CHECK(IsPersonOption(read[i], &arguments));
    }
  }
  FUZZ_CHECK(matched == written.size());
  const CPeerContents again =
      ReadPeerContents("Home", WithPersonLines(ours, contents.personLines), kRoot);
  FUZZ_CHECK(again.ours && again.entryName == contents.entryName &&
             again.personLines == contents.personLines &&
             std::memcmp(&again.record, &contents.record, sizeof(RASENTRYA)) == 0 &&
             std::memcmp(&again.later, &contents.later, sizeof(LongEntryRecord)) == 0);
  return 0;
}
