// UTF-16 profile files in the ANSI code page Windows-1252, and back.
#include "platform/profile_encoding.h"

#include <algorithm>
#include <cstdint>
#include <iterator>

#include "platform/windows_1252_best_fit.h"

namespace {

constexpr std::string_view kLittleEndianMark = "\xFF\xFE";
constexpr std::string_view kBigEndianMark = "\xFE\xFF";

// The characters of bytes 0x80 to 0x9F; the rest of the code page is Latin-1, whose bytes are
// their characters' numbers. The five bytes the code page leaves undefined stand for the control
// characters of their numbers, as the platform converts them, so every byte has a character.
constexpr uint16_t kHighControls[32] = {
    0x20AC, 0x0081, 0x201A, 0x0192, 0x201E, 0x2026, 0x2020, 0x2021, 0x02C6, 0x2030, 0x0160,
    0x2039, 0x0152, 0x008D, 0x017D, 0x008F, 0x0090, 0x2018, 0x2019, 0x201C, 0x201D, 0x2022,
    0x2013, 0x2014, 0x02DC, 0x2122, 0x0161, 0x203A, 0x0153, 0x009D, 0x017E, 0x0178};

char ByteOf(uint16_t unit) {
  if (unit < 0x80 || (unit >= 0xA0 && unit <= 0xFF)) {
    return static_cast<char>(unit);
  }
  const uint16_t* control = std::find(std::begin(kHighControls), std::end(kHighControls), unit);
  if (control != std::end(kHighControls)) {
    return static_cast<char>(0x80 + (control - std::begin(kHighControls)));
  }
  const CBestFit* fit =
      std::lower_bound(std::begin(kWindows1252BestFit), std::end(kWindows1252BestFit), unit,
                       [](const CBestFit& entry, uint16_t wanted) { return entry.unit < wanted; });
  return fit != std::end(kWindows1252BestFit) && fit->unit == unit ? static_cast<char>(fit->byte)
                                                                   : '?';
}

}  // namespace

ProfileEncoding ProfileEncodingOf(std::string_view bytes) {
  return bytes.starts_with(kLittleEndianMark) ? ProfileEncoding::kUtf16LittleEndian
         : bytes.starts_with(kBigEndianMark)  ? ProfileEncoding::kUtf16BigEndian
                                              : ProfileEncoding::kBytes;
}

std::string DecodeProfileText(std::string_view bytes, ProfileEncoding encoding) {
  if (encoding == ProfileEncoding::kBytes) {
    return std::string(bytes);
  }
  const bool little = encoding == ProfileEncoding::kUtf16LittleEndian;
  bytes.remove_prefix(kLittleEndianMark.size());
  std::string text;
  text.reserve((bytes.size() + 1) / 2);
  for (size_t i = 0; i < bytes.size(); i += 2) {
    const auto first = static_cast<unsigned char>(bytes[i]);
    const auto second = i + 1 < bytes.size() ? static_cast<unsigned char>(bytes[i + 1]) : 0;
    text.push_back(ByteOf(little ? static_cast<uint16_t>(first | second << 8)
                                 : static_cast<uint16_t>(first << 8 | second)));
  }
  return text;
}

std::string EncodeProfileText(std::string_view text, ProfileEncoding encoding) {
  if (encoding == ProfileEncoding::kBytes) {
    return std::string(text);
  }
  const bool little = encoding == ProfileEncoding::kUtf16LittleEndian;
  std::string bytes(little ? kLittleEndianMark : kBigEndianMark);
  bytes.reserve(bytes.size() + 2 * text.size());
  for (const char c : text) {
    const uint16_t unit = Windows1252Character(static_cast<unsigned char>(c));
    const char low = static_cast<char>(unit & 0xFF);
    const char high = static_cast<char>(unit >> 8);
    bytes.push_back(little ? low : high);
    bytes.push_back(little ? high : low);
  }
  return bytes;
}

uint16_t Windows1252Character(unsigned char byte) {
  return byte >= 0x80 && byte < 0xA0 ? kHighControls[byte - 0x80] : byte;
}

void AppendUtf8(std::string& text, uint32_t character) {
  if (character < 0x80) {
    text += static_cast<char>(character);
    return;
  }
  const int continuations = character < 0x800 ? 1 : character < 0x10000 ? 2 : 3;
  constexpr unsigned char kLead[] = {0, 0xC0, 0xE0, 0xF0};
  text += static_cast<char>(kLead[continuations] | (character >> (6 * continuations)));
  for (int i = continuations - 1; i >= 0; --i) {
    text += static_cast<char>(0x80 | ((character >> (6 * i)) & 0x3F));
  }
}
