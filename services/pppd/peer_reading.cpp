// Reading a peer file back: the record its lines keep is the entry only where the file tells pppd
// exactly what the service would write for that record, so that what is read back is what is
// dialled.
#include <cstring>
#include <string_view>
#include <vector>

#include "entry_fields.h"
#include "peer_file.h"
#include "peer_words.h"
#include "service_answers.h"

namespace {

constexpr char kNameLine[] = "#: Name=";

struct CPersonOption {
  const char* name;
  size_t arguments;
};

// The options of a connection that no field of the record speaks of, which a person may add to a
// peer file of the service's own: who this end is, how long it keeps dialling, how it logs.
constexpr CPersonOption kPersonOptions[] = {
    {"user", 1},
    {"password", 1},
    {"remotename", 1},
    {"name", 1},
    {"persist", 0},
    {"nopersist", 0},
    {"maxfail", 1},
    {"holdoff", 1},
    {"idle", 1},
    {"maxconnect", 1},
    {"demand", 0},
    {"debug", 0},
    {"kdebug", 1},
    {"logfile", 1},
    {"mtu", 1},
    {"mru", 1},
    {"linkname", 1},
    {"unit", 1},
    {"ifname", 1},
    {"updetach", 0},
    {"connect-delay", 1},
    {"lcp-echo-interval", 1},
    {"lcp-echo-failure", 1},
    {"lcp-echo-adaptive", 0},
    {"hide-password", 0},
    {"show-password", 0},
};

// What pppd's lexer takes for blanks (a line feed ends the line before): not the blanks of
// the record's lines (entry_fields.h), which are spaces and tabs.
bool IsLexerBlank(char c) {
  return c == ' ' || c == '\t' || c == '\r' || c == '\v' || c == '\f';
}

// The words of one line as pppd reads them, where its reading is plain: words apart by blanks,
// each without quotes or wholly inside one pair of them, then at most a comment. False for a
// line with a backslash or a quote inside a word, or a quote left open, which pppd reads
// otherwise than as this line's words.
bool ReadPlainWords(std::string_view line, std::vector<std::string_view>* words) {
  for (size_t at = 0;;) {
    while (at < line.size() && IsLexerBlank(line[at])) {
      ++at;
    }
    if (at == line.size() || line[at] == '#') {
      return true;
    }
    const char quote = line[at] == '"' || line[at] == '\'' ? line[at] : '\0';
    size_t end = at + 1;
    if (quote != '\0') {
      end = line.find(quote, end);
      if (end == std::string_view::npos) {
        return false;
      }
      words->push_back(line.substr(at + 1, end - at - 1));
      ++end;
    } else {
      while (end < line.size() && !IsLexerBlank(line[end]) && line[end] != '#') {
        ++end;
      }
      words->push_back(line.substr(at, end - at));
    }
    const bool wordEnds = end == line.size() || IsLexerBlank(line[end]) || line[end] == '#';
    if (!wordEnds ||
        words->back().find_first_of(quote != '\0' ? "\\" : "\\\"'") != std::string_view::npos) {
      return false;
    }
    at = end;
  }
}

// A blank line, a comment (but the service's own marks), or an option of kPersonOptions with its
// arguments.
bool IsPersonLine(std::string_view line) {
  std::vector<std::string_view> words;
  if (line.starts_with("#:") || !ReadPlainWords(line, &words)) {
    return false;
  }
  if (words.empty()) {
    return true;
  }
  size_t arguments = 0;
  return IsPersonOption(words[0], &arguments) && words.size() == arguments + 1;
}

// The lines of a text, without their line ends (a line feed, or a carriage return and a line
// feed, which pppd takes as well).
std::vector<std::string_view> LinesOf(std::string_view text) {
  std::vector<std::string_view> lines;
  while (!text.empty()) {
    const size_t end = std::min(text.find('\n'), text.size());
    std::string_view line = text.substr(0, end);
    if (line.ends_with('\r')) {
      line.remove_suffix(1);
    }
    lines.push_back(line);
    text.remove_prefix(std::min(end + 1, text.size()));
  }
  return lines;
}

}  // namespace

bool IsPersonOption(std::string_view option, size_t* arguments) {
  for (const CPersonOption& known : kPersonOptions) {
    if (option == known.name) {
      *arguments = known.arguments;
      return true;
    }
  }
  return false;
}

CPeerContents ReadPeerContents(std::string_view fileName, std::string_view text,
                               const std::string& root) {
  CPeerContents contents;
  contents.entryName = fileName;
  contents.record = DefaultEntryRecord();
  const std::vector<std::string_view> lines = LinesOf(text);
  size_t at = 0;
  while (at < lines.size() && lines[at] != kPeerRecordMark) {
    ++at;
  }
  if (at + 1 >= lines.size() || !lines[at + 1].starts_with(kNameLine)) {
    return contents;
  }
  const std::string name =
      UnescapeStoredText(std::string(lines[at + 1].substr(std::strlen(kNameLine))));
  RASENTRYA record = {};
  record.dwSize = kEntryRecordSize;
  size_t next = 0;
  LongEntryRecord later = {};
  for (at += 2; at < lines.size() && lines[at].starts_with("#: "); ++at) {
    if (!ReadLaterStoredLine(&later, lines[at].substr(3))) {
      ReadStoredLine(&record, lines[at].substr(3), &next);
    }
  }
  if (name.find('\0') != std::string::npos || !IsPeerName(name.c_str()) ||
      PeerFileName(name) != fileName) {
    return contents;
  }
  // The entry the service stored here keeps its name also when its file was changed since: the
  // tool finds it as an existing entry and asks before it overwrites it.
  contents.entryName = name;
  std::string expected;
  if (FormatPeer(name, record, root, &expected, later) != 0) {
    return contents;
  }
  // The service's lines, all of them and in order, and between them only a person's.
  const std::vector<std::string_view> ours = LinesOf(expected);
  std::vector<std::string> personLines;
  size_t matched = 0;
  for (const std::string_view line : lines) {
    if (matched < ours.size() && line == ours[matched]) {
      ++matched;
    } else if (IsPersonLine(line)) {
      personLines.emplace_back(line);
    } else {
      return contents;
    }
  }
  if (matched == ours.size()) {
    contents = {true, name, record, later, std::move(personLines)};
  }
  return contents;
}

std::string WithPersonLines(std::string peer, const std::vector<std::string>& personLines) {
  for (const std::string& line : personLines) {
    peer.append(line) += '\n';
  }
  return peer;
}
