// The checks of one file, one member for each group of findings (their codes' hundreds): the
// file's sections and keys (DK1xx) and the entry as a whole (DK6xx) in file_checker.cpp, keyword
// lists (DK2xx) in keyword_checks.cpp, addresses, integers and texts (DK3xx to DK5xx) in
// value_checks.cpp. The tool's reader fills each record; the profile functions give the
// section's key list, every value as a whole and as the reader's work buffer holds it, and the
// section names; the findings explain the difference between what was written and what the
// record holds.
#pragma once

#include <string>
#include <string_view>
#include <vector>

#include "check_text.h"
#include "findings.h"
#include "platform/profile.h"
#include "source_lines.h"

// One file's check: its sections, the keys of each, and every value the tool reads of them.
class CFileChecker {
 public:
  CFileChecker(const char* path, std::string_view bytes, CEntryFileCheck& result)
      : path_(path), fileSize_(bytes.size()), lines_(bytes), result_(result) {
    sectionNames_ = ReadWhole(
        [&](char* buffer, DWORD capacity) {
          return GetPrivateProfileStringA(nullptr, nullptr, "", buffer, capacity, path_);
        },
        fileSize_, Expected::kUpToTheFile);
    sections_ = ListItems(sectionNames_);
    sectionLines_ = lines_.SectionLines(sections_);
    firstSection_ = FirstOfSameName(sections_);
  }

  void CheckSection(const char* section, bool asked);
  void CheckSectionNames(const std::vector<const char*>& checked);

 private:
  struct CListedKey {
    std::string_view name;
    bool hasValue;
    std::string_view raw;  // the value as written, quotes kept
  };

  void Add(FindingKind kind, int line, std::string_view key, std::string message) {
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
  // A key that only the later entry records carry: its value checked; false for no such key.
  bool CheckLaterKey(const CListedKey& listed, int line);
  void CheckKeywords(const EntryKey& key, int line, const std::string& value);
  void CheckBeyondBuffer(const EntryKey& key, int line, std::string_view value,
                         std::string_view seen);
  void CheckCommentTail(const EntryKey& key, int line, std::string_view main,
                        std::string_view tail);
  void CheckAddress(const EntryKey& key, int line, const std::string& value,
                    const RASENTRYA& record);
  void CheckAddressPart(const EntryKey& key, int line, std::string_view address,
                        std::string_view part, BYTE stored, const std::string& dotted);
  void CheckInteger(const EntryKey& key, int line, std::string_view value, DWORD stored);
  void CheckText(const EntryKey& key, int line, std::string_view value, std::string_view raw,
                 std::string_view stored, size_t& lost);
  void CheckEntry(const CCheckedEntry& entry, int header);

  const char* path_;
  size_t fileSize_;
  CSourceLines lines_;
  CEntryFileCheck& result_;
  std::string sectionNames_;
  std::vector<std::string_view>
      sections_;                      // the file's sections, as the profile functions list them
  std::vector<int> sectionLines_;     // their header lines
  std::vector<size_t> firstSection_;  // for each, the first of its name
  const char* section_ = nullptr;
};
