// The check of a whole file: the sections asked for, then the findings in line order (the checks
// themselves are CFileChecker's, file_checker.h).
#include "entry_check.h"

#include <string>
#include <utility>
#include <vector>

#include "file_checker.h"
#include "platform/profile_names.h"
#include "platform/whole_file.h"

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
