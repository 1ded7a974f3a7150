// The checks of addresses, integers and texts: what the tool's reader would make of each value.
#include <algorithm>
#include <cstring>

#include "file_checker.h"
#include "platform/profile_names.h"

using std::string_view;

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
