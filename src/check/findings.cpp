// The findings' codes and severities, and the exit status that a check's findings add up to.
#include "findings.h"

#include <algorithm>

namespace {

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
    {"DK111", Severity::kError},    // kSecretKey
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
    {"DK605", Severity::kError},    // kEmptyPhoneNumber
    {"DK606", Severity::kWarning},  // kEmptyAreaCode
    {"DK701", Severity::kError},    // kUnknownValue
};
static_assert(std::size(kFindingKinds) == static_cast<size_t>(FindingKind::kCount));

}  // namespace

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
    return kCheckUnreadable;
  }
  int status = kCheckClean;
  for (const CFinding& finding : findings) {
    const Severity severity = FindingSeverity(finding.kind);
    status = std::max<int>(status, severity == Severity::kError     ? kCheckErrors
                                   : severity == Severity::kWarning ? kCheckWarnings
                                                                    : kCheckClean);
  }
  return status;
}
