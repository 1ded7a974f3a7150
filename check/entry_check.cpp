// The findings' codes and severities, and the check of a whole file (the checks themselves are
// CFileChecker's, file_checker.h).
#include "entry_check.h"

#include <algorithm>
#include <numeric>

#include "file_checker.h"
#include "platform/profile_names.h"
#include "platform/whole_file.h"

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
  // Sorted by their places, then moved once each: a file may give a finding for every line.
  const std::vector<size_t> order = StableOrder(
      result.findings.size(),
      [](const void* context, size_t a, size_t b) {
        const auto& findings = *static_cast<const std::vector<CFinding>*>(context);
        return findings[a].line < findings[b].line;
      },
      &result.findings);
  std::vector<CFinding> sorted;
  sorted.reserve(order.size());
  for (const size_t i : order) {
    sorted.push_back(std::move(result.findings[i]));
  }
  result.findings = std::move(sorted);
  return result;
}
