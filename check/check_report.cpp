#include "check_report.h"

#include <cstring>
#include <string>
#include <string_view>

namespace {

using std::string_view;

std::string Hex(unsigned value, int digits) {
  static constexpr char kDigits[] = "0123456789abcdef";
  std::string text(static_cast<size_t>(digits), '0');
  for (int i = digits - 1; i >= 0; --i, value >>= 4) {
    text[static_cast<size_t>(i)] = kDigits[value & 0xF];
  }
  return text;
}

std::string ForTerminal(string_view text) {
  std::string shown;
  for (const char c : text) {
    const auto byte = static_cast<unsigned char>(c);
    shown += byte >= 0x20 && byte < 0x7F ? std::string(1, c) : "\\x" + Hex(byte, 2);
  }
  return shown;
}

std::string Json(string_view text) {
  std::string json = "\"";
  for (const char c : text) {
    const auto byte = static_cast<unsigned char>(c);
    if (c == '"' || c == '\\') {
      json += '\\';
      json += c;
    } else if (byte >= 0x20 && byte < 0x7F) {
      json += c;
    } else {
      json += "\\u00" + Hex(byte, 2);
    }
  }
  return json + "\"";
}

const char* Field(const RASENTRYA& record, const EntryKey& key) {
  return reinterpret_cast<const char*>(&record) + key.offset;
}

DWORD Dword(const RASENTRYA& record, const EntryKey& key) {
  DWORD value;
  std::memcpy(&value, Field(record, key), sizeof value);
  return value;
}

string_view Text(const RASENTRYA& record, const EntryKey& key) {
  return {Field(record, key), strnlen(Field(record, key), key.width)};
}

std::string Dotted(const RASENTRYA& record, const EntryKey& key) {
  const auto* bytes = reinterpret_cast<const unsigned char*>(Field(record, key));
  return std::to_string(bytes[0]) + "." + std::to_string(bytes[1]) + "." +
         std::to_string(bytes[2]) + "." + std::to_string(bytes[3]);
}

// The names of the bits set, in the order of their values, joined by `separator`; each name is
// passed through `form`.
template <typename Form>
std::string BitNames(DWORD bits, const EntryKey& key, const char* separator, Form form) {
  std::string names;
  for (const BitName& name : key.keywords) {
    if ((bits & name.bit) != 0) {
      names += (names.empty() ? "" : separator) + form(name.name);
    }
  }
  return names;
}

void Put(std::FILE* out, const std::string& text) {
  std::fputs(text.c_str(), out);
}

}  // namespace

void WriteTextReport(std::FILE* out, const char* file, const CEntryFileCheck& check) {
  const std::string shownFile = ForTerminal(file);
  for (const CFinding& finding : check.findings) {
    Put(out, shownFile + (finding.line > 0 ? ":" + std::to_string(finding.line) : "") + ": " +
                 SeverityName(FindingSeverity(finding.kind)) + ": " + ForTerminal(finding.message) +
                 " [" + FindingCode(finding.kind) + "]\n");
  }
  for (const CCheckedEntry& entry : check.entries) {
    Put(out, std::string("\n[") + entry.section + "] ");
    if (!entry.made) {
      Put(out, "makes no entry\n");
      continue;
    }
    Put(out, "would be stored as\n");
    for (size_t k = 0; k < std::size(kEntryKeys); ++k) {
      const EntryKey& key = kEntryKeys[k];
      std::string value;
      if (key.kind == EntryKeyKind::kText) {
        value = "\"" + ForTerminal(Text(entry.record, key)) + "\"";
      } else if (key.kind == EntryKeyKind::kAddress) {
        value = Dotted(entry.record, key);
      } else if (key.kind == EntryKeyKind::kInteger) {
        value = std::to_string(Dword(entry.record, key));
      } else {
        const DWORD bits = Dword(entry.record, key);
        const std::string names =
            BitNames(bits, key, " ", [](const char* name) { return std::string(name); });
        value = "0x" + Hex(bits, 4) + " " + (names.empty() ? "(none)" : names);
      }
      std::string source = entry.lines[k] != 0
                               ? std::string(key.name) + ", line " + std::to_string(entry.lines[k])
                               : std::string(key.name) + ": default";
      if (entry.lost[k] != 0) {
        source += ", cut: " + std::to_string(entry.lost[k]) + " lost";
      }
      Put(out, "  " + std::string(key.field) +
                   std::string(20 - std::min<size_t>(19, std::strlen(key.field)), ' ') + value +
                   "  (" + source + ")\n");
    }
    Put(out, "  dwSize, szDeviceType, szDeviceName: filled when the tool stores the entry\n");
  }
}

void WriteJsonReport(std::FILE* out, const char* file, const CEntryFileCheck& check) {
  Put(out, "{\n  \"file\": " + Json(file) +
               ",\n  \"status\": " + std::to_string(check.ExitStatus()) + ",\n");
  if (!check.readable) {
    Put(out, "  \"problem\": " + Json(check.problem) + ",\n");
  }
  Put(out, "  \"findings\": [");
  const char* separator = "\n";
  for (const CFinding& finding : check.findings) {
    Put(out, separator);
    separator = ",\n";
    Put(out, "    {\"file\": " + Json(file) +
                 ", \"line\": " + (finding.line > 0 ? std::to_string(finding.line) : "null") +
                 ", \"section\": " + (finding.section.empty() ? "null" : Json(finding.section)) +
                 ", \"key\": " + (finding.key.empty() ? "null" : Json(finding.key)) +
                 ", \"code\": \"" + FindingCode(finding.kind) + "\", \"severity\": \"" +
                 SeverityName(FindingSeverity(finding.kind)) +
                 "\", \"message\": " + Json(finding.message) + "}");
  }
  Put(out, check.findings.empty() ? "],\n" : "\n  ],\n");
  Put(out, "  \"entries\": [");
  separator = "\n";
  for (const CCheckedEntry& entry : check.entries) {
    Put(out, separator);
    separator = ",\n";
    Put(out, "    {\"section\": \"" + std::string(entry.section) +
                 "\", \"made\": " + (entry.made ? "true" : "false"));
    if (!entry.made) {
      Put(out, "}");
      continue;
    }
    std::string record = "\"dwSize\": " + std::to_string(entry.record.dwSize);
    std::string lines;
    for (size_t k = 0; k < std::size(kEntryKeys); ++k) {
      const EntryKey& key = kEntryKeys[k];
      record += ",\n        \"" + std::string(key.field) + "\": ";
      if (key.kind == EntryKeyKind::kText) {
        record += "{\"text\": " + Json(Text(entry.record, key)) +
                  ", \"lost\": " + std::to_string(entry.lost[k]) + "}";
      } else if (key.kind == EntryKeyKind::kAddress) {
        record += "\"" + Dotted(entry.record, key) + "\"";
      } else if (key.kind == EntryKeyKind::kInteger) {
        record += std::to_string(Dword(entry.record, key));
      } else {
        const DWORD bits = Dword(entry.record, key);
        record += "{\"value\": " + std::to_string(bits) + ", \"names\": [" +
                  BitNames(bits, key, ", ", [](const char* name) { return Json(name); }) + "]}";
      }
      lines += std::string(k == 0 ? "" : ", ") + "\"" + key.name +
               "\": " + (entry.lines[k] != 0 ? std::to_string(entry.lines[k]) : "null");
    }
    record +=
        ",\n        \"szDeviceType\": {\"text\": " + Json(entry.record.szDeviceType) +
        ", \"lost\": 0},\n        \"szDeviceName\": {\"text\": " + Json(entry.record.szDeviceName) +
        ", \"lost\": 0}";
    Put(out, ",\n      \"record\": {\n        " + record + "\n      },\n      \"lines\": {" +
                 lines + "}}");
  }
  Put(out, check.entries.empty() ? "]\n}\n" : "\n  ]\n}\n");
}
