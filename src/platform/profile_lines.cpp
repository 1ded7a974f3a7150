// Taking a profile file apart into lines as the platform's profile functions read it.
#include "platform/profile_lines.h"

#include <algorithm>

namespace {

// The platform keeps names and values as zero-terminated texts, so a zero byte in the file ends
// them early.
std::string_view UpToZero(std::string_view text) {
  return text.substr(0, text.find('\0'));
}

// The first `c` in `text` at or after `position`, or the end of the text.
size_t FindByte(std::string_view text, char c, size_t position) {
  return std::min(text.find(c, position), text.size());
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

}  // namespace

CProfileLine ReadProfileLine(std::string_view text) {
  CProfileLine line;
  line.contentEnd = line.end = text.size();
  ReadLine(text, line);
  return line;
}

size_t FirstProfileLine(std::string_view bytes) {
  return bytes.starts_with(kProfileByteOrderMark) ? kProfileByteOrderMark.size() : 0;
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
