#include "source_lines.h"

#include "platform/profile_encoding.h"
#include "platform/profile_names.h"

namespace {

std::string_view Name(std::string_view text) {
  text = TrimProfileBlanks(text);
  return text.substr(0, text.find('\0'));
}

}  // namespace

CSourceLines::CSourceLines(std::string_view file)
    : text_(DecodeProfileText(file, ProfileEncodingOf(file))) {
  const std::string_view bytes = text_;
  size_t position = bytes.starts_with("\xEF\xBB\xBF") ? 3 : 0;
  while (position < bytes.size()) {
    const size_t end = bytes.find_first_of("\r\n", position);
    const std::string_view line = TrimProfileBlanks(
        bytes.substr(position, end == std::string_view::npos ? end : end - position));
    ++lineCount_;
    if (line.starts_with('[') && line.find(']') != std::string_view::npos) {
      named_.push_back({lineCount_, true, Name(line.substr(1, line.rfind(']') - 1))});
    } else if (!line.empty()) {
      named_.push_back({lineCount_, false, Name(line.substr(0, line.find('=')))});
    }
    if (end == std::string_view::npos) {
      break;
    }
    position = end + (bytes.substr(end, 2) == "\r\n" ? 2 : 1);
  }
}

int CSourceLines::SectionLine(std::string_view section, size_t n) const {
  for (const CNamedLine& named : named_) {
    if (named.header && SameProfileName(named.name, section) && n-- == 0) {
      return named.line;
    }
  }
  return 0;
}

int CSourceLines::KeyLine(std::string_view section, std::string_view key, size_t n) const {
  bool inSection = false;
  for (const CNamedLine& named : named_) {
    if (named.header) {
      if (inSection) {
        break;
      }
      inSection = SameProfileName(named.name, section);
    } else if (inSection && SameProfileName(named.name, key) && n-- == 0) {
      return named.line;
    }
  }
  return 0;
}
