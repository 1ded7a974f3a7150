// A profile file's text by its lines, and the edits made to its bytes in place.
#include "platform/posix/profile_text.h"

#include <utility>

namespace {

constexpr size_t kNone = CProfileSection::kNoHeader;  // no line

bool HasLineBreak(std::string_view text) {
  return text.find_first_of("\r\n") != std::string_view::npos;
}

}  // namespace

CProfileText::CProfileText(std::string bytes) : bytes_(std::move(bytes)) {
  const std::string_view all = bytes_;
  firstLineBegin_ = FirstProfileLine(all);
  sections_.emplace_back();
  CProfileLineReader reader(all, firstLineBegin_);
  for (CProfileLine line; reader.Next(line);) {
    const size_t index = lines_.size();
    if (line.kind == CProfileLine::kSection) {
      sections_.back().endLine = index;
      sections_.push_back(CProfileSection{line.name, index, 0, {}});
    } else if (line.kind == CProfileLine::kKey) {
      sections_.back().keys.push_back(index);
    }
    lines_.push_back(line);
  }
  sections_.back().endLine = lines_.size();
}

const CProfileSection* CProfileText::FindSection(std::string_view name) const {
  for (const CProfileSection& section : sections_) {
    if (SameProfileName(section.name, name)) {
      return &section;
    }
  }
  return nullptr;
}

const CProfileLine* CProfileText::FindKey(const CProfileSection& section,
                                          std::string_view name) const {
  for (const size_t index : section.keys) {
    if (SameProfileName(lines_[index].name, name)) {
      return &lines_[index];
    }
  }
  return nullptr;
}

std::string_view CProfileText::LineEndNear(size_t index) const {
  const std::string_view all = bytes_;
  if (index != kNone && lines_[index].end > lines_[index].contentEnd) {
    return all.substr(lines_[index].contentEnd, lines_[index].end - lines_[index].contentEnd);
  }
  for (const CProfileLine& line : lines_) {
    if (line.end > line.contentEnd) {
      return all.substr(line.contentEnd, line.end - line.contentEnd);
    }
  }
  return "\r\n";
}

std::optional<std::string> CProfileText::SetValue(std::string_view section, std::string_view key,
                                                  std::string_view value) const {
  const std::string keyLine = std::string(key) + "=" + std::string(value);
  const CProfileLine written = ReadProfileLine(keyLine);
  if (HasLineBreak(keyLine) || written.kind != CProfileLine::kKey || written.name != key ||
      written.value != TrimProfileBlanks(value)) {
    return std::nullopt;
  }
  std::string result = bytes_;
  if (const CProfileSection* found = FindSection(section)) {
    if (const CProfileLine* line = FindKey(*found, key)) {
      if (line->hasValue) {
        result.replace(line->valueBegin, line->contentEnd - line->valueBegin, value);
      } else {
        result.replace(line->nameEnd, line->contentEnd - line->nameEnd, "=" + std::string(value));
      }
      return result;
    }
    // After the last real key: comments just before the next header usually belong to it.
    size_t anchor = found->header;
    for (const size_t index : found->keys) {
      if (!lines_[index].IsComment()) {
        anchor = index;
      }
    }
    if (anchor == kNone) {
      // At the very start of the file, a key spelled with a byte order mark would lose it.
      if (firstLineBegin_ == 0 && key.starts_with(kProfileByteOrderMark)) {
        return std::nullopt;
      }
      result.insert(firstLineBegin_, keyLine + std::string(LineEndNear(kNone)));
    } else {
      result.insert(lines_[anchor].contentEnd, std::string(LineEndNear(anchor)) + keyLine);
    }
    return result;
  }
  const std::string header = "[" + std::string(section) + "]";
  const CProfileLine headerRead = ReadProfileLine(header);
  if (HasLineBreak(header) || headerRead.kind != CProfileLine::kSection ||
      headerRead.name != section) {
    return std::nullopt;
  }
  // The new line ends go where the last line's own end was, so a file that ended without a
  // line end still does.
  const size_t last = lines_.empty() ? kNone : lines_.size() - 1;
  const std::string lineEnd(LineEndNear(last));
  if (last == kNone) {
    result += header + lineEnd + keyLine + lineEnd;
  } else {
    result.insert(lines_[last].contentEnd, lineEnd + header + lineEnd + keyLine);
  }
  return result;
}

std::string CProfileText::DeleteKey(std::string_view section, std::string_view key) const {
  for (const CProfileSection& candidate : sections_) {
    if (!SameProfileName(candidate.name, section)) {
      continue;
    }
    if (const CProfileLine* line = FindKey(candidate, key)) {
      std::string result = bytes_;
      result.erase(line->begin, line->end - line->begin);
      return result;
    }
  }
  return bytes_;
}

std::string CProfileText::DeleteSection(std::string_view section) const {
  const CProfileSection* found = FindSection(section);
  if (found == nullptr) {
    return bytes_;
  }
  const size_t from =
      found->header == CProfileSection::kNoHeader ? firstLineBegin_ : lines_[found->header].begin;
  const size_t to = found->endLine < lines_.size() ? lines_[found->endLine].begin : bytes_.size();
  std::string result = bytes_;
  result.erase(from, to - from);
  return result;
}
