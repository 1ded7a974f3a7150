// Finding the line of each section and key, by the profile functions' own rules.
#include "source_lines.h"

#include <algorithm>

#include "platform/profile_encoding.h"
#include "platform/profile_names.h"

namespace {

std::string_view Name(std::string_view text) {
  text = TrimProfileBlanks(text);
  return text.substr(0, text.find('\0'));
}

bool IsHeader(std::string_view line) {
  return line.starts_with('[') && line.find(']') != std::string_view::npos;
}

std::string_view HeaderName(std::string_view line) {
  return Name(line.substr(1, line.rfind(']') - 1));
}

}  // namespace

// Calls visit(line number, line without its blanks, where the next line begins) for each line
// from `begin`, until it returns false.
template <typename Visit>
void CSourceLines::ForEachLine(size_t begin, int firstLine, Visit visit) const {
  const std::string_view text = text_;
  int number = firstLine;
  for (size_t position = begin; position < text.size(); ++number) {
    const size_t end = std::min(text.find_first_of("\r\n", position), text.size());
    const size_t next = end + (text.substr(end, 2) == "\r\n" ? 2 : 1);
    if (!visit(number, TrimProfileBlanks(text.substr(position, end - position)), next)) {
      return;
    }
    position = next;
  }
}

CSourceLines::CSourceLines(std::string_view file)
    : text_(DecodeProfileText(file, ProfileEncodingOf(file))) {
  const size_t start = std::string_view(text_).starts_with("\xEF\xBB\xBF") ? 3 : 0;
  ForEachLine(start, 1, [&](int number, std::string_view line, size_t next) {
    if (IsHeader(line)) {
      headers_.push_back({number, next, HeaderName(line)});
    }
    return true;
  });
}

std::vector<int> CSourceLines::SectionLines(const std::vector<std::string_view>& sections) const {
  std::vector<int> lines(sections.size(), kLineNotFound);
  size_t found = 0;
  for (const CHeader& header : headers_) {
    if (found < sections.size() && SameProfileName(header.name, sections[found])) {
      lines[found++] = header.line;
    }
  }
  return lines;
}

std::vector<int> CSourceLines::KeyLines(std::string_view section,
                                        const std::vector<std::string_view>& keys) const {
  std::vector<int> lines(keys.size(), kLineNotFound);
  for (const CHeader& header : headers_) {
    if (!SameProfileName(header.name, section)) {
      continue;
    }
    // Lines the list leaves out (comments) are passed over; a key whose line is never found
    // leaves the keys after it unfound too, rather than matched to the wrong lines.
    size_t found = 0;
    ForEachLine(header.begin, header.line + 1, [&](int number, std::string_view line, size_t) {
      if (IsHeader(line) || found == keys.size()) {
        return false;
      }
      if (!line.empty() && SameProfileName(Name(line.substr(0, line.find('='))), keys[found])) {
        lines[found++] = number;
      }
      return true;
    });
    break;
  }
  return lines;
}
