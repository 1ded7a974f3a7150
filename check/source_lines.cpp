#include "source_lines.h"

#include "framework/text.h"

namespace {

bool IsBlank(char c) {
  return (c >= '\t' && c <= '\r') || c == '\x1a' || c == ' ';
}

std::string_view Trim(std::string_view text) {
  while (!text.empty() && IsBlank(text.front())) {
    text.remove_prefix(1);
  }
  while (!text.empty() && IsBlank(text.back())) {
    text.remove_suffix(1);
  }
  return text;
}

std::string_view Name(std::string_view text) {
  text = Trim(text);
  return text.substr(0, text.find('\0'));
}

bool SameName(std::string_view first, std::string_view second) {
  if (first.size() != second.size()) {
    return false;
  }
  for (size_t i = 0; i < first.size(); ++i) {
    if (FoldLetterCase(first[i]) != FoldLetterCase(second[i])) {
      return false;
    }
  }
  return true;
}

}  // namespace

CSourceLines::CSourceLines(std::string_view bytes) {
  size_t position = bytes.starts_with("\xEF\xBB\xBF") ? 3 : 0;
  while (position < bytes.size()) {
    const size_t end = bytes.find_first_of("\r\n", position);
    const std::string_view line =
        Trim(bytes.substr(position, end == std::string_view::npos ? end : end - position));
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
    if (named.header && SameName(named.name, section) && n-- == 0) {
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
      inSection = SameName(named.name, section);
    } else if (inSection && SameName(named.name, key) && n-- == 0) {
      return named.line;
    }
  }
  return 0;
}
