// The checks. The tool's reader fills each record; the profile functions give the section's key
// list, every value as a whole and as the reader's work buffer holds it, and the section names;
// the findings explain the difference between what was written and what the record holds.
#include "entry_check.h"

#include <algorithm>
#include <cstring>
#include <string_view>

#include "framework/text.h"
#include "platform/file_system.h"
#include "platform/profile.h"
#include "platform/profile_names.h"
#include "source_lines.h"

namespace {

using std::string_view;

struct CFindingKindInfo {
  const char* code;
  Severity severity;
};

// In the order of FindingKind. The codes are stable: a code is never reused for another finding.
constexpr CFindingKindInfo kFindingKinds[] = {
    {"DK101", Severity::kWarning},  // kUnknownKey
    {"DK102", Severity::kWarning},  // kKeyAgain
    {"DK103", Severity::kWarning},  // kSectionAgain
    {"DK104", Severity::kNote},     // kNoVpnEntry
    {"DK105", Severity::kWarning},  // kAskedSectionMissing
    {"DK106", Severity::kWarning},  // kNoDialUpSection
    {"DK107", Severity::kWarning},  // kSectionNameNear
    {"DK108", Severity::kWarning},  // kLineWithoutEquals
    {"DK109", Severity::kWarning},  // kCommentBehindValue
    {"DK110", Severity::kNote},     // kHashLine
    {"DK201", Severity::kError},    // kKeywordCase
    {"DK202", Severity::kWarning},  // kKeywordInsideWord
    {"DK203", Severity::kWarning},  // kNoKeyword
    {"DK204", Severity::kError},    // kKeywordLost
    {"DK205", Severity::kWarning},  // kValueBeyondBuffer
    {"DK206", Severity::kWarning},  // kEmptyKeywordList
    {"DK207", Severity::kWarning},  // kDerivedOption
    {"DK301", Severity::kError},    // kAddressPartTooLarge
    {"DK302", Severity::kError},    // kAddressPartNegative
    {"DK303", Severity::kWarning},  // kAddressTooManyParts
    {"DK304", Severity::kWarning},  // kAddressPartStops
    {"DK305", Severity::kWarning},  // kAddressEmptyPart
    {"DK306", Severity::kWarning},  // kAddressTooFewParts
    {"DK307", Severity::kError},    // kAddressNone
    {"DK401", Severity::kWarning},  // kIntegerNotDecimal
    {"DK402", Severity::kWarning},  // kIntegerDoesNotFit
    {"DK403", Severity::kWarning},  // kIntegerNegative
    {"DK404", Severity::kNote},     // kIntegerEmpty
    {"DK501", Severity::kWarning},  // kTextCut
    {"DK601", Severity::kError},    // kDefaultPhoneNumber
    {"DK602", Severity::kWarning},  // kDefaultAreaCode
    {"DK603", Severity::kWarning},  // kReservedNotZero
    {"DK604", Severity::kWarning},  // kAlternatesOffsetNotZero
};
static_assert(std::size(kFindingKinds) == static_cast<size_t>(FindingKind::kCount));

constexpr char kDialUpSection[] = "RasEntry";
constexpr char kVpnSection[] = "VPNEntry";
constexpr size_t kWorkBufferCharacters = kEntryWorkBufferCapacity - 1;

// The white space that the reader skips before a part of an address, as the C runtime does.
bool IsSpace(char c) {
  return c == ' ' || (c >= '\t' && c <= '\r');
}

bool IsDigit(char c) {
  return c >= '0' && c <= '9';
}

bool IsWordCharacter(char c) {
  return IsDigit(c) || (FoldLetterCase(c) >= 'A' && FoldLetterCase(c) <= 'Z');
}

string_view TrimSpace(string_view text) {
  while (!text.empty() && IsSpace(text.front())) {
    text.remove_prefix(1);
  }
  while (!text.empty() && IsSpace(text.back())) {
    text.remove_suffix(1);
  }
  return text;
}

// The edit distance, letter case aside, or something above `limit` once it is certain to exceed
// it.
size_t Distance(string_view first, string_view second, size_t limit) {
  if (first.size() > second.size() + limit || second.size() > first.size() + limit) {
    return limit + 1;
  }
  std::vector<size_t> row(second.size() + 1);
  for (size_t j = 0; j < row.size(); ++j) {
    row[j] = j;
  }
  for (size_t i = 1; i <= first.size(); ++i) {
    size_t diagonal = row[0];
    row[0] = i;
    for (size_t j = 1; j <= second.size(); ++j) {
      const size_t above = row[j];
      const bool same = FoldLetterCase(first[i - 1]) == FoldLetterCase(second[j - 1]);
      row[j] = std::min({above + 1, row[j - 1] + 1, diagonal + (same ? 0 : 1)});
      diagonal = above;
    }
  }
  return row.back();
}

// The candidate that `written` most likely misspells: a few edits away, fewer for shorter names.
template <typename Names>
const char* Nearest(string_view written, const Names& names) {
  const char* nearest = nullptr;
  size_t best = 0;
  for (const char* name : names) {
    const size_t limit = std::max<size_t>(1, (std::min(written.size(), std::strlen(name)) + 2) / 3);
    const size_t distance = Distance(written, name, limit);
    if (distance <= limit && (nearest == nullptr || distance < best)) {
      nearest = name;
      best = distance;
    }
  }
  return nearest;
}

std::string Quoted(string_view text) {
  return "`" + std::string(text) + "`";
}

std::string DidYouMean(const char* name) {
  return name != nullptr ? "; did you mean " + Quoted(name) + "?" : "";
}

// Where a value holds what looks like a comment: a ';' or '#' at its start or after a blank.
// The profile functions know comments only as lines of their own.
size_t CommentStart(string_view value) {
  for (size_t i = 0; i < value.size(); ++i) {
    if ((value[i] == ';' || value[i] == '#') && (i == 0 || IsSpace(value[i - 1]))) {
      return i;
    }
  }
  return string_view::npos;
}

// A text that the profile functions hand out, read into a buffer that grows until the text fits
// with room to spare: a count of capacity - 2 may already be a cut one (a quoted value loses a
// character when it just fills the buffer). No text is longer than the file it comes from.
template <typename Read>
std::string ReadWhole(Read read, size_t fileSize) {
  std::string buffer(256, '\0');
  for (;;) {
    const DWORD count = read(buffer.data(), static_cast<DWORD>(buffer.size()));
    if (count + 2 < buffer.size() || buffer.size() > fileSize + 4) {
      buffer.resize(std::min<size_t>(count, buffer.size()));
      return buffer;
    }
    buffer.assign(buffer.size() * 2, '\0');
  }
}

// The texts of a list that the profile functions hand out, each ended by a zero.
std::vector<string_view> ListItems(string_view list) {
  std::vector<string_view> items;
  while (!list.empty()) {
    const size_t end = std::min(list.find('\0'), list.size());
    if (end > 0) {
      items.push_back(list.substr(0, end));
    }
    list.remove_prefix(std::min(end + 1, list.size()));
  }
  return items;
}

const EntryKey* FindKey(string_view name) {
  for (const EntryKey& key : kEntryKeys) {
    if (SameProfileName(name, key.name)) {
      return &key;
    }
  }
  return nullptr;
}

const char* SelectionNoun(const EntryKey& key) {
  return key.keywords.data() == kOptionBitNames        ? "option"
         : key.keywords.data() == kNetProtocolBitNames ? "protocol"
                                                       : "framing";
}

class CFileChecker {
 public:
  CFileChecker(const char* path, string_view bytes, CEntryFileCheck& result)
      : path_(path), fileSize_(bytes.size()), lines_(bytes), result_(result) {
    sectionNames_ = ReadWhole(
        [&](char* buffer, DWORD capacity) {
          return GetPrivateProfileStringA(nullptr, nullptr, "", buffer, capacity, path_);
        },
        fileSize_);
  }

  void CheckSection(const char* section, bool asked);
  void CheckSectionNames(const std::vector<const char*>& checked);

 private:
  struct CListedKey {
    string_view name;
    bool hasValue;
    string_view raw;  // the value as written, quotes kept
  };

  void Add(FindingKind kind, int line, string_view key, std::string message) {
    result_.findings.push_back({kind, line, section_, std::string(key), std::move(message)});
  }

  std::string ReadValue(const char* key) const {
    return ReadWhole(
        [&](char* buffer, DWORD capacity) {
          return GetPrivateProfileStringA(section_, key, "", buffer, capacity, path_);
        },
        fileSize_);
  }

  // The value as the reader's work buffer holds it.
  std::string ReadSeen(const char* key) const {
    char work[kEntryWorkBufferCapacity];
    GetPrivateProfileStringA(section_, key, "", work, sizeof work, path_);
    return work;
  }

  void CheckKey(const CListedKey& listed, int line, CCheckedEntry& entry);
  void CheckKeywords(const EntryKey& key, int line, const std::string& value);
  void CheckBeyondBuffer(const EntryKey& key, int line, string_view value, string_view seen);
  void CheckCommentTail(const EntryKey& key, int line, string_view main, string_view tail);
  void CheckAddress(const EntryKey& key, int line, const std::string& value,
                    const RASENTRYA& record);
  void CheckAddressPart(const EntryKey& key, int line, string_view address, string_view part,
                        BYTE stored, const std::string& dotted);
  void CheckInteger(const EntryKey& key, int line, string_view value, DWORD stored);
  void CheckText(const EntryKey& key, int line, string_view value, string_view raw,
                 string_view stored, size_t& lost);
  void CheckEntry(const CCheckedEntry& entry, int header);

  const char* path_;
  size_t fileSize_;
  CSourceLines lines_;
  CEntryFileCheck& result_;
  std::string sectionNames_;
  const char* section_ = nullptr;
};

void CFileChecker::CheckSection(const char* section, bool asked) {
  section_ = section;
  const bool vpn = std::strcmp(section, kVpnSection) == 0;
  CCheckedEntry& entry = result_.entries.emplace_back();
  entry.section = section;
  entry.made = ReadEntryDescription(&entry.record, path_, vpn ? section : nullptr) == 1;
  std::fill(std::begin(entry.lines), std::end(entry.lines), 0);
  std::fill(std::begin(entry.lost), std::end(entry.lost), 0);

  const int header = lines_.SectionLine(section, 0);
  const std::string listing = ReadWhole(
      [&](char* buffer, DWORD capacity) {
        return GetPrivateProfileSectionA(section, buffer, capacity, path_);
      },
      fileSize_);
  const std::string what = header != 0 ? "[" + std::string(section) + "] has no lines"
                                       : "there is no [" + std::string(section) + "] section";
  if (listing.empty() && vpn) {
    Add(asked ? FindingKind::kAskedSectionMissing : FindingKind::kNoVpnEntry, header, "",
        what + ": a run with VPN= makes no VPN entry");
  } else if (listing.empty()) {
    Add(FindingKind::kNoDialUpSection, header, "",
        what + ": the dial-up entry is still made, from the defaults alone");
  }

  // A repeated section is never read, not even where the first is empty.
  size_t headers = 0;
  for (const string_view name : ListItems(sectionNames_)) {
    if (SameProfileName(name, section) && headers++ > 0) {
      Add(FindingKind::kSectionAgain, lines_.SectionLine(section, headers - 1), "",
          "[" + std::string(name) + "] is given again: only the first, on line " +
              std::to_string(header) + ", is read, and every line of this one is ignored");
    }
  }
  if (!entry.made) {
    return;
  }

  std::vector<CListedKey> keys;
  for (const string_view item : ListItems(listing)) {
    const size_t equals = item.find('=');
    keys.push_back({item.substr(0, equals), equals != string_view::npos,
                    equals != string_view::npos ? item.substr(equals + 1) : string_view()});
  }
  for (size_t i = 0; i < keys.size(); ++i) {
    const size_t before =
        static_cast<size_t>(std::count_if(keys.begin(), keys.begin() + i, [&](const CListedKey& k) {
          return SameProfileName(k.name, keys[i].name);
        }));
    const int found = lines_.KeyLine(section, keys[i].name, before);
    const int line = found != 0 ? found : header;
    if (before > 0) {
      const EntryKey* known = FindKey(keys[i].name);
      Add(FindingKind::kKeyAgain, line, known != nullptr ? known->name : keys[i].name,
          Quoted(keys[i].name) + " is given again: the first, on line " +
              std::to_string(lines_.KeyLine(section, keys[i].name, 0)) +
              ", counts, and this one is ignored");
      continue;
    }
    CheckKey(keys[i], line, entry);
  }
  CheckEntry(entry, header);
}

void CFileChecker::CheckKey(const CListedKey& listed, int line, CCheckedEntry& entry) {
  const EntryKey* key = FindKey(listed.name);
  if (listed.name.starts_with('#')) {
    Add(FindingKind::kHashLine, line, listed.name,
        Quoted(listed.name) + " is read as a key that the tool does not know, so it does " +
            "nothing: comments are lines that start with `;`");
    return;
  }
  if (key == nullptr) {
    std::vector<const char*> names;
    for (const EntryKey& known : kEntryKeys) {
      names.push_back(known.name);
    }
    if (!listed.hasValue) {
      // A key and its value with a blank or a colon in place of the equals sign.
      const size_t gap = std::min(listed.name.find_first_of(" \t:"), listed.name.size());
      string_view rest = TrimSpace(listed.name.substr(gap));
      rest = TrimSpace(rest.substr(rest.starts_with(':') ? 1 : 0));
      const char* near = Nearest(listed.name.substr(0, gap), names);
      const std::string meant = near != nullptr ? std::string(near) + "=" + std::string(rest) : "";
      Add(FindingKind::kLineWithoutEquals, line, listed.name,
          Quoted(listed.name) + " has no `=`, so the line sets nothing" +
              DidYouMean(near != nullptr ? meant.c_str() : nullptr));
    } else {
      Add(FindingKind::kUnknownKey, line, listed.name,
          Quoted(listed.name) + " is no key of the entry description, so the line is ignored" +
              DidYouMean(Nearest(listed.name, names)));
    }
    return;
  }
  if (!listed.hasValue) {
    Add(FindingKind::kLineWithoutEquals, line, key->name,
        Quoted(listed.name) + " has no `=`: the key counts as left out, so its default applies");
    return;
  }
  const size_t index = static_cast<size_t>(key - kEntryKeys);
  entry.lines[index] = line;
  const std::string value = ReadValue(key->name);
  switch (key->kind) {
    case EntryKeyKind::kKeywords:
      CheckKeywords(*key, line, value);
      break;
    case EntryKeyKind::kAddress:
      CheckAddress(*key, line, value, entry.record);
      break;
    case EntryKeyKind::kInteger:
      CheckInteger(*key, line, value, DwordOf(entry.record, *key));
      break;
    case EntryKeyKind::kText:
      CheckText(*key, line, value, listed.raw, TextOf(entry.record, *key), entry.lost[index]);
      break;
  }
}

void CFileChecker::CheckKeywords(const EntryKey& key, int line, const std::string& value) {
  if (value.empty()) {
    Add(FindingKind::kEmptyKeywordList, line, key.name,
        Quoted(std::string(key.name) + "=") + " is empty, so it selects no " + SelectionNoun(key) +
            ": the default, " + Quoted(key.defaultText) +
            ", applies only when the key is left out");
    return;
  }
  const std::string seen = ReadSeen(key.name);
  CheckBeyondBuffer(key, line, value, seen);
  const string_view all = seen;
  const size_t comment = CommentStart(all);
  const string_view main = all.substr(0, comment);

  std::vector<string_view> words;
  for (size_t i = 0; i < main.size();) {
    const size_t begin = i;
    while (i < main.size() && IsWordCharacter(main[i])) {
      ++i;
    }
    // A word that runs into the end of the work buffer is not judged: its rest was never read.
    const bool cutOff =
        i == all.size() && value.size() > all.size() && IsWordCharacter(value[all.size()]);
    if (i > begin && !cutOff) {
      words.push_back(main.substr(begin, i - begin));
    }
    i += i == begin ? 1 : 0;
  }
  const auto isWord = [&](string_view text) {
    return std::find(words.begin(), words.end(), text) != words.end();
  };
  std::vector<string_view> reported;
  for (size_t w = 0; w < words.size(); ++w) {
    const string_view word = words[w];
    if (std::find(words.begin(), words.begin() + w, word) != words.begin() + w) {
      continue;
    }
    bool keyword = false;
    bool inside = false;
    for (const BitName& known : key.keywords) {
      const bool equal = word == known.name;
      if (!equal && word.find(known.name) == string_view::npos) {
        continue;
      }
      keyword = keyword || equal;
      inside = inside || !equal;
      const bool derived =
          key.keywords.data() == kOptionBitNames &&
          (known.bit == RASEO_SpecificIpAddr || known.bit == RASEO_SpecificNameServers);
      if (std::find(reported.begin(), reported.end(), known.name) != reported.end() ||
          (!derived && (equal || isWord(known.name)))) {
        continue;
      }
      reported.push_back(known.name);
      if (derived) {
        Add(FindingKind::kDerivedOption, line, key.name,
            Quoted(known.name) + " has no effect: that option follows the " +
                (known.bit == RASEO_SpecificIpAddr ? "address ipaddr"
                                                   : "four name-server addresses") +
                " alone");
      } else {
        Add(FindingKind::kKeywordInsideWord, line, key.name,
            Quoted(known.name) + " is found inside " + Quoted(word) + ", so the entry gets " +
                known.name + " as well");
      }
    }
    if (keyword || inside) {
      continue;
    }
    const BitName* folded = nullptr;
    std::vector<const char*> names;
    for (const BitName& known : key.keywords) {
      names.push_back(known.name);
      folded = SameProfileName(word, known.name) ? &known : folded;
    }
    if (folded != nullptr) {
      if (all.find(folded->name) == string_view::npos) {
        Add(FindingKind::kKeywordCase, line, key.name,
            Quoted(word) + " selects nothing: keywords are case-sensitive; did you mean " +
                Quoted(folded->name) + "?");
      }
      continue;
    }
    Add(FindingKind::kNoKeyword, line, key.name,
        Quoted(word) + " is no " + key.name + " keyword, so it is ignored" +
            DidYouMean(Nearest(word, names)));
  }
  if (comment != string_view::npos) {
    CheckCommentTail(key, line, main, all.substr(comment));
  }
}

// Keyword lists and addresses are read into the reader's work buffer: what lies beyond it is
// never looked at.
void CFileChecker::CheckBeyondBuffer(const EntryKey& key, int line, string_view value,
                                     string_view seen) {
  if (seen.size() >= value.size()) {
    return;
  }
  bool lost = false;
  for (const BitName& known : key.keywords) {
    if (value.find(known.name) != string_view::npos && seen.find(known.name) == string_view::npos) {
      lost = true;
      Add(FindingKind::kKeywordLost, line, key.name,
          Quoted(known.name) + " does not end within the first " +
              std::to_string(kWorkBufferCharacters) + " characters, the only ones read, so " +
              known.name + " is not selected");
    }
  }
  if (!lost && !TrimSpace(value.substr(seen.size())).empty()) {
    Add(FindingKind::kValueBeyondBuffer, line, key.name,
        "only the first " + std::to_string(seen.size()) + " of the value's " +
            std::to_string(value.size()) +
            " characters are read: " + Quoted(value.substr(seen.size())) + " is ignored");
  }
}

void CFileChecker::CheckCommentTail(const EntryKey& key, int line, string_view main,
                                    string_view tail) {
  std::string added;
  for (const BitName& known : key.keywords) {
    if (tail.find(known.name) != string_view::npos && main.find(known.name) == string_view::npos) {
      added += std::string(added.empty() ? "" : " ") + known.name;
    }
  }
  Add(FindingKind::kCommentBehindValue, line, key.name,
      Quoted(tail) + " is part of the value, not a comment (comments stand on lines of their " +
          "own), and " + (added.empty() ? "selects nothing more" : "selects " + added));
}

void CFileChecker::CheckAddress(const EntryKey& key, int line, const std::string& value,
                                const RASENTRYA& record) {
  if (value.empty()) {
    return;
  }
  const std::string seen = ReadSeen(key.name);
  CheckBeyondBuffer(key, line, value, seen);
  const std::string dotted = DottedOf(record, key);
  if (dotted == "0.0.0.0") {
    if (seen.find_first_not_of("0. \t") != std::string::npos) {
      Add(FindingKind::kAddressNone, line, key.name,
          Quoted(seen) + " comes out as 0.0.0.0, which means no address at all");
    }
    return;
  }
  // The parts as the reader's dotted-address conversion splits them.
  constexpr char kSeparators[] = ".\n";
  const string_view text = seen;
  std::vector<string_view> parts;
  bool emptyPart = false;
  for (size_t i = 0; i < text.size();) {
    const size_t end = std::min(text.find_first_of(kSeparators, i), text.size());
    emptyPart = emptyPart || end == i;
    if (end > i) {
      parts.push_back(text.substr(i, end - i));
    }
    i = end + 1;
  }
  const auto* stored = reinterpret_cast<const BYTE*>(FieldOf(record, key));
  for (size_t i = 0; i < parts.size() && i < 4; ++i) {
    CheckAddressPart(key, line, text, parts[i], stored[i], dotted);
  }
  if (parts.size() > 4) {
    Add(FindingKind::kAddressTooManyParts, line, key.name,
        Quoted(text) + " has more than four parts: " +
            Quoted(text.substr(static_cast<size_t>(parts[4].data() - text.data()))) +
            " is ignored, leaving " + dotted);
  } else if (parts.size() < 4 && !emptyPart) {
    Add(FindingKind::kAddressTooFewParts, line, key.name,
        Quoted(text) + " has " + std::to_string(parts.size()) + " part" +
            (parts.size() == 1 ? "" : "s") + ": the missing ones are 0, so it is " + dotted);
  }
  if (emptyPart) {
    Add(FindingKind::kAddressEmptyPart, line, key.name,
        Quoted(text) + " has an empty part: a run of full stops counts as one and leading ones " +
            "are skipped, so it is " + dotted);
  }
}

void CFileChecker::CheckAddressPart(const EntryKey& key, int line, string_view address,
                                    string_view part, BYTE stored, const std::string& dotted) {
  string_view rest = part;
  while (!rest.empty() && IsSpace(rest.front())) {
    rest.remove_prefix(1);
  }
  const bool negative = rest.starts_with('-');
  if (negative || rest.starts_with('+')) {
    rest.remove_prefix(1);
  }
  string_view digits = rest.substr(0, std::min(rest.find_first_not_of("0123456789"), rest.size()));
  rest.remove_prefix(digits.size());
  digits.remove_prefix(std::min(digits.find_first_not_of('0'), digits.size()));
  const std::string where = Quoted(TrimSpace(part)) + " in " + Quoted(address);
  if (negative && !digits.empty()) {
    Add(FindingKind::kAddressPartNegative, line, key.name,
        where + " is negative and becomes 0, so the address is " + dotted);
  } else if (digits.size() > 3 || (digits.size() == 3 && digits > "255")) {
    Add(FindingKind::kAddressPartTooLarge, line, key.name,
        where + " is 256 or more and becomes 0, so the address is " + dotted);
  }
  if (!TrimSpace(rest).empty()) {
    Add(FindingKind::kAddressPartStops, line, key.name,
        where + ": reading stops at " + Quoted(TrimSpace(rest)) + ", so the part is " +
            std::to_string(stored) + " and the address " + dotted);
  }
}

void CFileChecker::CheckInteger(const EntryKey& key, int line, string_view value, DWORD stored) {
  const std::string got = std::to_string(stored);
  if (value.empty()) {
    Add(FindingKind::kIntegerEmpty, line, key.name,
        Quoted(std::string(key.name) + "=") + " is empty, and an empty number gives the key's " +
            "default, " + got);
  } else {
    string_view digits = value;
    const bool negative = digits.starts_with('-');
    if (negative || digits.starts_with('+')) {
      digits.remove_prefix(1);
    }
    const bool decimal =
        !digits.empty() && digits.find_first_not_of("0123456789") == string_view::npos;
    digits.remove_prefix(std::min(digits.find_first_not_of('0'), digits.size()));
    if (!decimal) {
      Add(FindingKind::kIntegerNotDecimal, line, key.name,
          Quoted(value) + " is not a decimal number: it is read as " + got);
    } else if (negative && !digits.empty()) {
      Add(FindingKind::kIntegerNegative, line, key.name,
          Quoted(value) + " is negative, but " + key.field + " has no sign: it is stored as " +
              got);
    } else if (digits.size() > 10 || (digits.size() == 10 && digits > "4294967295")) {
      Add(FindingKind::kIntegerDoesNotFit, line, key.name,
          Quoted(value) + " does not fit in " + key.field + "'s 32 bits: it is stored as " + got);
    } else if (digits != (stored == 0 ? "" : got)) {
      Add(FindingKind::kIntegerDoesNotFit, line, key.name,
          Quoted(value) + " is too long to be read whole: it is stored as " + got);
    }
  }
  if (stored != 0 && (key.offset == offsetof(RASENTRYA, dwReserved1) ||
                      key.offset == offsetof(RASENTRYA, dwReserved2))) {
    Add(FindingKind::kReservedNotZero, line, key.name,
        std::string(key.name) + " is " + got + ", not 0: the field is reserved, and the tool " +
            "passes the value on as it is");
  } else if (stored != 0 && key.offset == offsetof(RASENTRYA, dwAlternateOffset)) {
    Add(FindingKind::kAlternatesOffsetNotZero, line, key.name,
        std::string(key.name) + " is " + got + ", not 0: the record then claims a list of " +
            "alternate numbers behind it, which the tool never sends");
  }
}

void CFileChecker::CheckText(const EntryKey& key, int line, string_view value, string_view raw,
                             string_view stored, size_t& lost) {
  const size_t comment = CommentStart(value);
  if (comment != string_view::npos) {
    Add(FindingKind::kCommentBehindValue, line, key.name,
        Quoted(value.substr(comment)) + " is part of the value, not a comment (comments stand " +
            "on lines of their own), and is stored in " + key.field);
  }
  if (value.size() <= stored.size()) {
    return;
  }
  lost = value.size() - stored.size();
  const bool quoted = raw.starts_with('"') || raw.starts_with('\'');
  Add(FindingKind::kTextCut, line, key.name,
      Quoted(value) + " is cut to " + Quoted(stored) + " (" + key.field + " keeps " +
          std::to_string(key.width - 1) + " characters): " + std::to_string(lost) +
          (lost == 1 ? " character" : " characters") + " lost" +
          (quoted && value.size() < key.width
               ? "; a quoted value that just fills the field loses its last character"
               : ""));
}

void CFileChecker::CheckEntry(const CCheckedEntry& entry, int header) {
  const auto lineOf = [&](const char* name) {
    return entry.lines[static_cast<size_t>(FindKey(name) - kEntryKeys)];
  };
  if (lineOf("LocalPhoneNumber") == 0) {
    Add(FindingKind::kDefaultPhoneNumber, header, "LocalPhoneNumber",
        std::string("LocalPhoneNumber is not given: the entry dials the placeholder ") +
            kDefaultLocalPhoneNumber + ", which reaches no one" +
            (std::strcmp(section_, kVpnSection) == 0 ? " (for a VPN entry it names the VPN server)"
                                                     : ""));
  } else if (lineOf("AreaCode") == 0 &&
             (entry.record.dwfOptions & RASEO_UseCountryAndAreaCodes) != 0) {
    Add(FindingKind::kDefaultAreaCode, lineOf("Options") != 0 ? lineOf("Options") : header,
        "AreaCode",
        std::string("UseCountryAndAreaCodes dials the area code, but AreaCode is left out: the "
                    "entry dials the placeholder area code ") +
            kDefaultAreaCode);
  }
}

// Sections the tool never reads, whose names come close to one that it reads.
void CFileChecker::CheckSectionNames(const std::vector<const char*>& checked) {
  section_ = nullptr;
  std::vector<string_view> seen;
  for (const string_view name : ListItems(sectionNames_)) {
    const bool read = SameProfileName(name, kDialUpSection) || SameProfileName(name, kVpnSection);
    if (read || std::find(seen.begin(), seen.end(), name) != seen.end()) {
      continue;
    }
    seen.push_back(name);
    if (const char* near = Nearest(name, checked)) {
      result_.findings.push_back(
          {FindingKind::kSectionNameNear, lines_.SectionLine(name, 0), near, "",
           "[" + std::string(name) + "] is not read: the tool reads only [RasEntry] and " +
               "[VPNEntry]; did you mean [" + near + "]?"});
    }
  }
}

}  // namespace

const char* FieldOf(const RASENTRYA& record, const EntryKey& key) {
  return reinterpret_cast<const char*>(&record) + key.offset;
}

DWORD DwordOf(const RASENTRYA& record, const EntryKey& key) {
  DWORD value;
  std::memcpy(&value, FieldOf(record, key), sizeof value);
  return value;
}

string_view TextOf(const RASENTRYA& record, const EntryKey& key) {
  return {FieldOf(record, key), strnlen(FieldOf(record, key), key.width)};
}

std::string DottedOf(const RASENTRYA& record, const EntryKey& key) {
  const auto* bytes = reinterpret_cast<const unsigned char*>(FieldOf(record, key));
  return std::to_string(bytes[0]) + "." + std::to_string(bytes[1]) + "." +
         std::to_string(bytes[2]) + "." + std::to_string(bytes[3]);
}

const char* FindingCode(FindingKind kind) {
  return kFindingKinds[static_cast<size_t>(kind)].code;
}

Severity FindingSeverity(FindingKind kind) {
  return kFindingKinds[static_cast<size_t>(kind)].severity;
}

const char* SeverityName(Severity severity) {
  return severity == Severity::kError     ? "error"
         : severity == Severity::kWarning ? "warning"
                                          : "note";
}

int CEntryFileCheck::ExitStatus() const {
  if (!readable) {
    return 3;
  }
  int status = 0;
  for (const CFinding& finding : findings) {
    const Severity severity = FindingSeverity(finding.kind);
    status = std::max(status, severity == Severity::kError     ? 2
                              : severity == Severity::kWarning ? 1
                                                               : 0);
  }
  return status;
}

CEntryFileCheck CheckEntryFile(const char* fullPath, const char* onlySection) {
  CEntryFileCheck result;
  std::string bytes;
  result.readable = ReadRegularFile(fullPath, &bytes, &result.problem);
  if (!result.readable) {
    return result;
  }
  std::vector<const char*> sections;
  if (onlySection == nullptr || SameProfileName(onlySection, kDialUpSection)) {
    sections.push_back(kDialUpSection);
  }
  if (onlySection == nullptr || SameProfileName(onlySection, kVpnSection)) {
    sections.push_back(kVpnSection);
  }
  CFileChecker checker(fullPath, bytes, result);
  checker.CheckSectionNames(sections);
  for (const char* section : sections) {
    checker.CheckSection(section, onlySection != nullptr);
  }
  std::stable_sort(result.findings.begin(), result.findings.end(),
                   [](const CFinding& a, const CFinding& b) { return a.line < b.line; });
  return result;
}
