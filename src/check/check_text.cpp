// The texts, names and near misses that every check of dialkit-check compares in the same way.
#include "check_text.h"

#include <algorithm>
#include <array>
#include <cstdint>
#include <numeric>
#include <span>

#include "platform/profile_names.h"

using std::string_view;

string_view TrimSpace(string_view text) {
  while (!text.empty() && IsSpace(text.front())) {
    text.remove_prefix(1);
  }
  while (!text.empty() && IsSpace(text.back())) {
    text.remove_suffix(1);
  }
  return text;
}

size_t Distance(string_view first, string_view second, size_t limit) {
  if (first.size() > second.size() + limit || second.size() > first.size() + limit) {
    return limit + 1;
  }
  // Every character of `first` that `second` lacks takes an edit: a cheap bound that passes over
  // most names at once (characters are told apart by their low six bits, which only lowers it).
  uint64_t present = 0;
  for (const char c : second) {
    present |= uint64_t{1} << (FoldLetterCase(c) & 63);
  }
  size_t lacking = 0;
  for (const char c : first) {
    lacking += (present >> (FoldLetterCase(c) & 63) & 1) == 0 ? 1 : 0;
  }
  if (lacking > limit) {
    return limit + 1;
  }
  // One row of the table, on the stack for names of the tool's length, since a file may hold a
  // great many unknown keys to compare.
  size_t shortRow[64];
  std::vector<size_t> longRow(second.size() < std::size(shortRow) ? 0 : second.size() + 1);
  const std::span<size_t> row(longRow.empty() ? shortRow : longRow.data(), second.size() + 1);
  for (size_t j = 0; j < row.size(); ++j) {
    row[j] = j;
  }
  for (size_t i = 1; i <= first.size(); ++i) {
    size_t diagonal = row[0];
    row[0] = i;
    size_t least = row[0];
    for (size_t j = 1; j <= second.size(); ++j) {
      const size_t above = row[j];
      const bool same = FoldLetterCase(first[i - 1]) == FoldLetterCase(second[j - 1]);
      row[j] = std::min({above + 1, row[j - 1] + 1, diagonal + (same ? 0 : 1)});
      diagonal = above;
      least = std::min(least, row[j]);
    }
    // No later row has a smaller number than this one's least.
    if (least > limit) {
      return limit + 1;
    }
  }
  return row.back();
}

std::string Quoted(string_view text) {
  return "`" + std::string(text) + "`";
}

std::string DidYouMean(const char* name) {
  return name != nullptr ? "; did you mean " + Quoted(name) + "?" : "";
}

size_t CommentStart(string_view value) {
  for (size_t i = 0; i < value.size(); ++i) {
    if ((value[i] == ';' || value[i] == '#') && (i == 0 || IsSpace(value[i - 1]))) {
      return i;
    }
  }
  return string_view::npos;
}

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

namespace {

// Whether `first` sorts before `second` as names compare: letter case aside.
bool NameBefore(string_view first, string_view second) {
  return std::lexicographical_compare(first.begin(), first.end(), second.begin(), second.end(),
                                      [](char a, char b) {
                                        return static_cast<unsigned char>(FoldLetterCase(a)) <
                                               static_cast<unsigned char>(FoldLetterCase(b));
                                      });
}

}  // namespace

std::vector<size_t> StableOrder(size_t count,
                                bool (*before)(const void* context, size_t first, size_t second),
                                const void* context) {
  std::vector<size_t> order(count);
  std::iota(order.begin(), order.end(), size_t{0});
  std::stable_sort(order.begin(), order.end(),
                   [&](size_t a, size_t b) { return before(context, a, b); });
  return order;
}

std::vector<size_t> FirstOfSameName(const std::vector<string_view>& names) {
  const std::vector<size_t> order = StableOrder(
      names.size(),
      [](const void* context, size_t a, size_t b) {
        const auto& all = *static_cast<const std::vector<string_view>*>(context);
        return NameBefore(all[a], all[b]);
      },
      &names);
  std::vector<size_t> first(names.size());
  for (size_t i = 0; i < order.size(); ++i) {
    const bool again = i > 0 && SameProfileName(names[order[i - 1]], names[order[i]]);
    first[order[i]] = again ? first[order[i - 1]] : order[i];
  }
  return first;
}

std::string OnLine(int line) {
  return line > 0 ? "on line " + std::to_string(line) : "on a line that could not be found";
}

const EntryKey* FindEntryKey(string_view name) {
  for (const EntryKey& key : kEntryKeys) {
    if (SameProfileName(name, key.name)) {
      return &key;
    }
  }
  return nullptr;
}

const char* SelectionNoun(const EntryKey& key) {
  return key.bitNames.data() == kOptionBitNames        ? "option"
         : key.bitNames.data() == kNetProtocolBitNames ? "protocol"
                                                       : "framing";
}
