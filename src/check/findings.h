// What a check of an entry description file finds: every kind of finding with its stable code and
// severity, the findings on their lines, the records the tool would store, and the exit status
// they add up to. The checks fill it, the reports write it; the findings and their codes are
// described in docs/dialkit-check.md.
#pragma once

#include <string>
#include <vector>

#include "entry/entry_reader.h"
#include "entry/entry_record.h"
#include "entry/later_keys.h"
#include "source_lines.h"

enum class Severity { kNote, kWarning, kError };

// Every kind of finding, each with a stable code and one severity (kFindingKinds in the source).
enum class FindingKind {
  kUnknownKey,
  kKeyAgain,
  kSectionAgain,
  kNoVpnEntry,
  kAskedSectionMissing,
  kNoDialUpSection,
  kSectionNameNear,
  kLineWithoutEquals,
  kCommentBehindValue,
  kHashLine,
  kSecretKey,
  kKeywordCase,
  kKeywordInsideWord,
  kNoKeyword,
  kKeywordLost,
  kValueBeyondBuffer,
  kEmptyKeywordList,
  kDerivedOption,
  kAddressPartTooLarge,
  kAddressPartNegative,
  kAddressTooManyParts,
  kAddressPartStops,
  kAddressEmptyPart,
  kAddressTooFewParts,
  kAddressNone,
  kIntegerNotDecimal,
  kIntegerDoesNotFit,
  kIntegerNegative,
  kIntegerEmpty,
  kTextCut,
  kDefaultPhoneNumber,
  kDefaultAreaCode,
  kReservedNotZero,
  kAlternatesOffsetNotZero,
  kEmptyPhoneNumber,
  kEmptyAreaCode,
  kUnknownValue,
  kCount
};

const char* FindingCode(FindingKind kind);  // "DK101"
Severity FindingSeverity(FindingKind kind);
const char* SeverityName(Severity severity);  // "error", "warning", "note"

struct CFinding {
  FindingKind kind;
  int line;             // from 1; 0 for the file as a whole; kLineNotFound when it is not known
  std::string section;  // empty when the finding concerns no one section
  std::string key;      // the key as the tool spells it, or as written when the tool knows none
  std::string message;  // quotes the file's text as it is; escaping is the output's business
};

// One section as the tool would turn it into a record.
struct CCheckedEntry {
  const char* section;  // "RasEntry" or "VPNEntry"
  bool made;            // false: the tool makes no entry of it (a VPN section missing or empty)
  RASENTRYA record;
  // For each key of kEntryKeys: the line whose value the record holds, 0 when the default applies
  // (the key is not given), kLineNotFound when it is given on a line that could not be found; for
  // a text, the number of characters the field could not keep.
  int lines[std::size(kEntryKeys)];
  size_t lost[std::size(kEntryKeys)];
  // The keys only the later records carry, where the section sets them.
  CLaterKeys later;
};

// dialkit-check's exit statuses, from the best to the worst.
enum CheckStatus {
  kCheckClean = 0,  // nothing but notes
  kCheckWarnings = 1,
  kCheckErrors = 2,
  kCheckUnreadable = 3,
  kCheckWrongCommandLine = 4,
};

struct CEntryFileCheck {
  bool readable = false;
  std::string problem;             // why the file could not be read
  std::vector<CFinding> findings;  // in line order
  std::vector<CCheckedEntry> entries;

  // The worst finding's status, or kCheckUnreadable.
  int ExitStatus() const;
};
