// The checks of a file's sections and keys, and of the entry as a whole.
#include "file_checker.h"

#include <algorithm>
#include <array>
#include <cstring>

#include "base/text.h"
#include "entry/later_keys.h"
#include "platform/profile_names.h"

using std::string_view;

void CFileChecker::CheckSection(const char* section, bool asked) {
  section_ = section;
  const bool vpn = std::strcmp(section, kVpnSection) == 0;
  CCheckedEntry& entry = result_.entries.emplace_back();
  entry.section = section;
  entry.made = ReadEntryDescription(&entry.record, path_, vpn ? section : nullptr) == 1;
  if (entry.made) {
    entry.later = ReadLaterEntryKeys(path_, vpn ? section : nullptr);
  }
  std::fill(std::begin(entry.lines), std::end(entry.lines), 0);
  std::fill(std::begin(entry.lost), std::end(entry.lost), 0);

  // The header's line; 0 when the section is not there. A repeated section is never read, not
  // even where the first is empty.
  int header = 0;
  for (size_t i = 0; i < sections_.size(); ++i) {
    if (!SameProfileName(sections_[i], section)) {
      continue;
    }
    if (firstSection_[i] == i) {
      header = sectionLines_[i];
      continue;
    }
    Add(FindingKind::kSectionAgain, sectionLines_[i], "",
        "[" + std::string(sections_[i]) + "] is given again: only the first, " +
            OnLine(sectionLines_[firstSection_[i]]) +
            ", is read, and every line of this one is ignored");
  }
  const std::string listing = ReadWhole(
      [&](char* buffer, DWORD capacity) {
        return GetPrivateProfileSectionA(section, buffer, capacity, path_);
      },
      fileSize_, Expected::kUpToTheFile);
  const std::string what = header != 0 ? "[" + std::string(section) + "] has no lines"
                                       : "there is no [" + std::string(section) + "] section";
  if (listing.empty() && vpn) {
    Add(asked ? FindingKind::kAskedSectionMissing : FindingKind::kNoVpnEntry, header, "",
        what + ": a run with VPN= makes no VPN entry");
  } else if (listing.empty()) {
    Add(FindingKind::kNoDialUpSection, header, "",
        what + ": the dial-up entry is still made, from the defaults alone");
  }
  if (!entry.made) {
    return;
  }

  std::vector<CListedKey> keys;
  std::vector<string_view> names;
  for (const string_view item : ListItems(listing)) {
    const size_t equals = item.find('=');
    keys.push_back({item.substr(0, equals), equals != string_view::npos,
                    equals != string_view::npos ? item.substr(equals + 1) : string_view()});
    names.push_back(keys.back().name);
  }
  const std::vector<int> lines = lines_.KeyLines(section, names);
  const std::vector<size_t> first = FirstOfSameName(names);
  for (size_t i = 0; i < keys.size(); ++i) {
    if (first[i] != i) {
      const EntryKey* known = FindEntryKey(keys[i].name);
      Add(FindingKind::kKeyAgain, lines[i], known != nullptr ? known->name : keys[i].name,
          Quoted(keys[i].name) + " is given again: the first, " + OnLine(lines[first[i]]) +
              ", counts, and this one is ignored");
      continue;
    }
    CheckKey(keys[i], lines[i], entry);
  }
  CheckEntry(entry, header);
}

void CFileChecker::CheckKey(const CListedKey& listed, int line, CCheckedEntry& entry) {
  const EntryKey* key = FindEntryKey(listed.name);
  if (listed.name.starts_with('#')) {
    Add(FindingKind::kHashLine, line, listed.name,
        Quoted(listed.name) + " is read as a key that the tool does not know, so it does " +
            "nothing: comments are lines that start with `;`");
    return;
  }
  // Installers ship this file and logs quote it: a secret has a file of its own, read by its owner
  // alone. The value is never quoted.
  constexpr string_view kSecretKeys[] = {"Password", "PreSharedKey", "L2tpPsk", "SharedSecret"};
  if (key == nullptr && listed.hasValue &&
      std::any_of(std::begin(kSecretKeys), std::end(kSecretKeys), [&](string_view secret) {
        return TextEqualsIgnoringCase(listed.name, secret);
      })) {
    Add(FindingKind::kSecretKey, line, listed.name,
        Quoted(listed.name) + " is a secret, which the tool never takes from the entry " +
            "description file: give it in a secrets file (/secrets:FILE) and remove it here");
    return;
  }
  if (key == nullptr && CheckLaterKey(listed, line)) {
    return;
  }
  if (key == nullptr) {
    constexpr auto names = [] {
      std::array<string_view, std::size(kEntryKeys)> all;
      for (size_t k = 0; k < all.size(); ++k) {
        all[k] = kEntryKeys[k].name;
      }
      return all;
    }();
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
    case FieldKind::kBits:
      CheckKeywords(*key, line, value);
      break;
    case FieldKind::kAddress:
      CheckAddress(*key, line, value, entry.record);
      break;
    case FieldKind::kNumber:
      CheckInteger(*key, line, value, DwordOf(entry.record, *key));
      break;
    case FieldKind::kText:
      CheckText(*key, line, value, listed.raw, TextOf(entry.record, *key), entry.lost[index]);
      break;
    case FieldKind::kChoice:
    case FieldKind::kFlag:
      break;  // kinds of the later keys alone (CheckLaterKey)
  }
}

bool CFileChecker::CheckLaterKey(const CListedKey& listed, int line) {
  for (const RecordField& key : kLaterRecordFields) {
    if (!TextEqualsIgnoringCase(listed.name, key.name)) {
      continue;
    }
    const std::string value = ReadValue(key.name);
    DWORD parsed = 0;
    if (!listed.hasValue) {
      Add(FindingKind::kLineWithoutEquals, line, key.name,
          Quoted(listed.name) + " has no `=`: the key counts as left out");
    } else if (key.kind == FieldKind::kText) {
      if (value.size() >= key.width) {
        Add(FindingKind::kTextCut, line, key.name,
            Quoted(key.name) + " is cut to its first " + std::to_string(key.width - 1) +
                " characters");
      }
    } else if (!LaterKeyValue(key, value, &parsed)) {
      std::string words;
      for (const BitName& name : key.bitNames) {
        words.append(words.empty() ? "" : ", ").append(name.name);
      }
      Add(FindingKind::kUnknownValue, line, key.name,
          Quoted(value) + " is no value of " + key.name + ", so the entry is not stored: " +
              (key.kind == FieldKind::kChoice ? "one of " + words
               : key.kind == FieldKind::kFlag ? std::string("0 or 1")
                                              : std::string("a decimal number")));
    }
    return true;
  }
  return false;
}

void CFileChecker::CheckEntry(const CCheckedEntry& entry, int header) {
  const auto lineOf = [&](const char* name) {
    return entry.lines[static_cast<size_t>(FindEntryKey(name) - kEntryKeys)];
  };
  const bool areaCodeDialled = (entry.record.dwfOptions & RASEO_UseCountryAndAreaCodes) != 0;
  const int optionsLine = lineOf("Options") != 0 ? lineOf("Options") : header;
  if (lineOf("LocalPhoneNumber") == 0) {
    Add(FindingKind::kDefaultPhoneNumber, header, "LocalPhoneNumber",
        std::string("LocalPhoneNumber is not given: the entry dials the placeholder ") +
            kDefaultLocalPhoneNumber + ", which reaches no one" +
            (std::strcmp(section_, kVpnSection) == 0 ? " (for a VPN entry it names the VPN server)"
                                                     : ""));
  } else if (entry.record.szLocalPhoneNumber[0] == '\0') {
    Add(FindingKind::kEmptyPhoneNumber, lineOf("LocalPhoneNumber"), "LocalPhoneNumber",
        std::string("LocalPhoneNumber is empty: the entry has nothing to dial") +
            (std::strcmp(section_, kVpnSection) == 0 ? " (for a VPN entry it names the VPN server)"
                                                     : ""));
  }
  if (lineOf("AreaCode") == 0 && areaCodeDialled) {
    Add(FindingKind::kDefaultAreaCode, optionsLine, "AreaCode",
        std::string("UseCountryAndAreaCodes dials the area code, but AreaCode is left out: the "
                    "entry dials the placeholder area code ") +
            kDefaultAreaCode);
  } else if (areaCodeDialled && entry.record.szAreaCode[0] == '\0') {
    Add(FindingKind::kEmptyAreaCode, lineOf("AreaCode"), "AreaCode",
        "UseCountryAndAreaCodes dials the area code, but AreaCode is empty: the entry dials the "
        "country code straight before the number");
  }
}

// Sections the tool never reads, whose names come close to one that it reads.
void CFileChecker::CheckSectionNames(const std::vector<const char*>& checked) {
  section_ = nullptr;
  for (size_t i = 0; i < sections_.size(); ++i) {
    const string_view name = sections_[i];
    const bool read = SameProfileName(name, kDialUpSection) || SameProfileName(name, kVpnSection);
    if (read || firstSection_[i] != i) {
      continue;
    }
    if (const char* near = Nearest(name, checked)) {
      result_.findings.push_back(
          {FindingKind::kSectionNameNear, sectionLines_[i], std::string(name), "",
           "[" + std::string(name) + "] is not read: the tool reads only [RasEntry] and " +
               "[VPNEntry]; did you mean [" + near + "]?"});
    }
  }
}
