// Taking a profile file apart into lines as Windows reads it, and editing its bytes in place.
#include "platform/posix/profile_text.h"

#include <algorithm>
#include <utility>

namespace {

constexpr std::string_view kByteOrderMark = "\xEF\xBB\xBF";
constexpr size_t kNone = CProfileSection::kNoHeader;  // no line

// The platform keeps names and values as zero-terminated texts, so a zero byte in the file ends
// them early.
std::string_view UpToZero(std::string_view text) {
  return text.substr(0, text.find('\0'));
}

// The first `c` in `text` at or after `position`, or the end of the text.
size_t FindByte(std::string_view text, char c, size_t position) {
  return std::min(text.find(c, position), text.size());
}

bool HasLineBreak(std::string_view text) {
  return text.find_first_of("\r\n") != std::string_view::npos;
}

// Fills in the kind, name and value of `line` from its content in `bytes`. Returns true for a key
// whose name is empty in the file itself (the line starts with '='), which the dropping rule for
// unnamed keys looks at.
bool ReadLine(std::string_view bytes, CProfileLine& line) {
  const std::string_view trimmed =
      TrimProfileBlanks(bytes.substr(line.begin, line.contentEnd - line.begin));
  if (trimmed.empty()) {
    return false;
  }
  const size_t trimmedBegin = static_cast<size_t>(trimmed.data() - bytes.data());
  if (trimmed[0] == '[') {
    const size_t close = trimmed.rfind(']');
    if (close != std::string_view::npos) {
      line.kind = CProfileLine::kSection;
      line.name = UpToZero(TrimProfileBlanks(trimmed.substr(1, close - 1)));
      return false;
    }
  }
  line.kind = CProfileLine::kKey;
  const size_t equals = trimmed.find('=');
  const std::string_view name = TrimProfileBlanks(trimmed.substr(0, equals));
  line.name = UpToZero(name);
  line.nameEnd = trimmedBegin + name.size();
  if (equals != std::string_view::npos) {
    const std::string_view value = TrimProfileBlanks(trimmed.substr(equals + 1));
    line.hasValue = true;
    line.value = UpToZero(value);
    line.valueBegin = value.empty() ? trimmedBegin + trimmed.size()
                                    : static_cast<size_t>(value.data() - bytes.data());
  }
  return equals == 0;
}

// A line of its own, read as the file would read it.
CProfileLine ReadSingleLine(std::string_view text) {
  CProfileLine line;
  line.contentEnd = line.end = text.size();
  ReadLine(text, line);
  return line;
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

size_t FirstProfileLine(std::string_view bytes) {
  return bytes.starts_with(kByteOrderMark) ? kByteOrderMark.size() : 0;
}

CProfileLineReader::CProfileLineReader(std::string_view bytes, size_t position)
    : bytes_(bytes),
      position_(position),
      nextFeed_(FindByte(bytes, '\n', position)),
      nextReturn_(FindByte(bytes, '\r', position)) {}

void CProfileLineReader::TakeLine(CProfileLine& line) {
  // Each search starts past the byte it found last time, so a file with one kind of line end
  // only is still searched once.
  if (nextFeed_ < position_) {
    nextFeed_ = FindByte(bytes_, '\n', position_);
  }
  if (nextReturn_ < position_) {
    nextReturn_ = FindByte(bytes_, '\r', position_);
  }
  line = CProfileLine{};
  line.begin = position_;
  line.contentEnd = line.end = std::min(nextFeed_, nextReturn_);
  if (line.end < bytes_.size()) {
    line.end += bytes_.substr(line.end, 2) == "\r\n" ? 2 : 1;
  }
  position_ = line.end;
}

bool CProfileLineReader::Next(CProfileLine& line) {
  if (position_ >= bytes_.size()) {
    return false;
  }
  TakeLine(line);
  const bool unnamed = ReadLine(bytes_, line);
  if (line.kind == CProfileLine::kSection) {
    afterUnnamedKey_ = false;
  } else if (line.kind == CProfileLine::kKey) {
    if (unnamed && afterUnnamedKey_) {
      line.kind = CProfileLine::kNothing;
    } else {
      afterUnnamedKey_ = line.name.empty();
    }
  }
  return true;
}

bool CProfileLineReader::NextHeader(CProfileLine& header) {
  while (position_ < bytes_.size()) {
    TakeLine(header);
    // Only a line whose first byte but blanks is '[' can be a header: the others are passed
    // over without being taken apart.
    const std::string_view content = bytes_.substr(header.begin, header.contentEnd - header.begin);
    const size_t first =
        std::find_if_not(content.begin(), content.end(), IsProfileBlank) - content.begin();
    if (first < content.size() && content[first] == '[') {
      ReadLine(bytes_, header);
      if (header.kind == CProfileLine::kSection) {
        afterUnnamedKey_ = false;
        return true;
      }
    }
  }
  return false;
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
  const CProfileLine written = ReadSingleLine(keyLine);
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
      if (firstLineBegin_ == 0 && key.starts_with(kByteOrderMark)) {
        return std::nullopt;
      }
      result.insert(firstLineBegin_, keyLine + std::string(LineEndNear(kNone)));
    } else {
      result.insert(lines_[anchor].contentEnd, std::string(LineEndNear(anchor)) + keyLine);
    }
    return result;
  }
  const std::string header = "[" + std::string(section) + "]";
  const CProfileLine headerRead = ReadSingleLine(header);
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
