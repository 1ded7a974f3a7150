// Finding the line of each section and key, by the profile functions' own rules.
#include "source_lines.h"

#include "platform/profile_encoding.h"
#include "platform/profile_lines.h"

CSourceLines::CSourceLines(std::string_view file)
    : text_(DecodeProfileText(file, ProfileEncodingOf(file))) {
  int number = 0;
  CProfileLineReader reader(text_, FirstProfileLine(text_));
  for (CProfileLine line; reader.Next(line);) {
    ++number;
    if (line.kind == CProfileLine::kSection) {
      headers_.push_back({number, line.end, line.name});
    }
  }
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
    int number = header.line;
    CProfileLineReader reader(text_, header.begin);
    for (CProfileLine line; found < keys.size() && reader.Next(line);) {
      if (line.kind == CProfileLine::kSection) {
        break;
      }
      ++number;
      if (line.kind == CProfileLine::kKey && SameProfileName(line.name, keys[found])) {
        lines[found++] = number;
      }
    }
    break;
  }
  return lines;
}
