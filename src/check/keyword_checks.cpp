// The checks of the keyword lists: unknown, repeated and empty keywords, and what the reader makes
// of them.
#include <algorithm>
#include <cstring>

#include "file_checker.h"
#include "platform/profile_names.h"

using std::string_view;

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
    for (const BitName& known : key.bitNames) {
      const bool equal = word == known.name;
      if (!equal && word.find(known.name) == string_view::npos) {
        continue;
      }
      keyword = keyword || equal;
      inside = inside || !equal;
      const bool derived =
          key.bitNames.data() == kOptionBitNames &&
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
    for (const BitName& known : key.bitNames) {
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
  for (const BitName& known : key.bitNames) {
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
  for (const BitName& known : key.bitNames) {
    if (tail.find(known.name) != string_view::npos && main.find(known.name) == string_view::npos) {
      added += std::string(added.empty() ? "" : " ") + known.name;
    }
  }
  Add(FindingKind::kCommentBehindValue, line, key.name,
      Quoted(tail) + " is part of the value, not a comment (comments stand on lines of their " +
          "own), and " + (added.empty() ? "selects nothing more" : "selects " + added));
}
