// Writing the checker's findings and records as text lines or as one JSON document, escaped.
#include "check_report.h"

#include <cstring>
#include <initializer_list>
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

// The one escape of the reports: printable ASCII stays, but for a backslash and a double quote,
// which take a backslash before them, so that a file's text can never look like an escape; every
// other byte is written as \xHH in the text report and as \u00HH in JSON. The file's path in the
// text report keeps its backslashes (Windows separates folders with them) and escapes only the
// bytes a terminal would act on.
enum class Escape { kText, kJson, kPath };

std::string Escaped(string_view text, Escape style) {
  std::string shown;
  shown.reserve(text.size());
  for (const char c : text) {
    const auto byte = static_cast<unsigned char>(c);
    if ((c == '"' || c == '\\') && style != Escape::kPath) {
      shown.append(1, '\\').append(1, c);
    } else if (byte >= 0x20 && byte < 0x7F) {
      shown += c;
    } else {
      shown.append(style == Escape::kJson ? "\\u00" : "\\x").append(Hex(byte, 2));
    }
  }
  return shown;
}

std::string ForTerminal(string_view text) {
  return Escaped(text, Escape::kText);
}

std::string Json(string_view text) {
  return "\"" + Escaped(text, Escape::kJson) + "\"";
}

// The names of the bits set, in the order of their values, joined by `separator`; each name is
// passed through `form`.
template <typename Form>
std::string BitNames(DWORD bits, const EntryKey& key, const char* separator, Form form) {
  std::string names;
  for (const BitName& name : key.bitNames) {
    if ((bits & name.bit) != 0) {
      names += (names.empty() ? "" : separator) + form(name.name);
    }
  }
  return names;
}

std::string Number(size_t value) {
  return std::to_string(value);
}

}  // namespace

void Put(std::FILE* out, std::initializer_list<string_view> parts) {
  for (const string_view part : parts) {
    std::fwrite(part.data(), 1, part.size(), out);
  }
}

void WriteTextReport(std::FILE* out, const char* file, const CEntryFileCheck& check) {
  const std::string shownFile = Escaped(file, Escape::kPath);
  for (const CFinding& finding : check.findings) {
    Put(out, {shownFile, finding.line > 0 ? ":" + Number(finding.line) : "", ": ",
              SeverityName(FindingSeverity(finding.kind)), ": ", ForTerminal(finding.message),
              finding.line == kLineNotFound ? " (its line was not found)" : "", " [",
              FindingCode(finding.kind), "]\n"});
  }
  for (const CCheckedEntry& entry : check.entries) {
    Put(out, {"\n[", entry.section, entry.made ? "] would be stored as\n" : "] makes no entry\n"});
    for (size_t k = 0; entry.made && k < std::size(kEntryKeys); ++k) {
      const EntryKey& key = kEntryKeys[k];
      std::string value;
      if (key.kind == FieldKind::kText) {
        value = "\"" + ForTerminal(TextOf(entry.record, key)) + "\"";
      } else if (key.kind == FieldKind::kAddress) {
        value = DottedOf(entry.record, key);
      } else if (key.kind == FieldKind::kNumber) {
        value = Number(DwordOf(entry.record, key));
      } else {
        const DWORD bits = DwordOf(entry.record, key);
        const std::string names =
            BitNames(bits, key, " ", [](const char* name) { return std::string(name); });
        value = "0x" + Hex(bits, 4) + " " + (names.empty() ? "(none)" : names);
      }
      Put(out, {"  ", key.field, string_view("                    ").substr(std::strlen(key.field)),
                value, "  (", key.name,
                entry.lines[k] > 0                ? ", line " + Number(entry.lines[k])
                : entry.lines[k] == kLineNotFound ? ", line not found"
                                                  : ": default",
                entry.lost[k] != 0 ? ", cut: " + Number(entry.lost[k]) + " lost" : "", ")\n"});
    }
    for (const RecordField& key : kLaterRecordFields) {
      if (entry.made && entry.later.IsSet(key)) {
        const std::string value =
            ForTerminal(FieldValueText(reinterpret_cast<const char*>(&entry.later.values), key));
        Put(out,
            {"  ", key.field, string_view("                    ").substr(std::strlen(key.field)),
             key.kind == FieldKind::kText ? "\"" + value + "\"" : value, "  (", key.name,
             ", a key of the later records)\n"});
      }
    }
    if (entry.made) {
      Put(out, {"  dwSize, szDeviceType, szDeviceName: filled when the tool stores the entry\n"});
    }
  }
}

void WriteJsonReport(std::FILE* out, const char* file, const CEntryFileCheck& check) {
  const std::string jsonFile = Json(file);
  Put(out, {"{\n  \"file\": ", jsonFile, ",\n  \"status\": ", Number(check.ExitStatus()), ",\n"});
  if (!check.readable) {
    Put(out, {"  \"problem\": ", Json(check.problem), ",\n"});
  }
  Put(out, {"  \"findings\": ["});
  const char* separator = "\n";
  for (const CFinding& finding : check.findings) {
    Put(out, {separator, "    {\"file\": ", jsonFile,
              ", \"line\": ", finding.line > 0 ? Number(finding.line) : "null",
              ", \"section\": ", finding.section.empty() ? "null" : Json(finding.section),
              ", \"key\": ", finding.key.empty() ? "null" : Json(finding.key), ", \"code\": \"",
              FindingCode(finding.kind), "\", \"severity\": \"",
              SeverityName(FindingSeverity(finding.kind)),
              "\", \"message\": ", Json(finding.message), "}"});
    separator = ",\n";
  }
  Put(out, {check.findings.empty() ? "],\n" : "\n  ],\n", "  \"entries\": ["});
  separator = "\n";
  for (const CCheckedEntry& entry : check.entries) {
    Put(out, {separator, "    {\"section\": \"", entry.section,
              "\", \"made\": ", entry.made ? "true" : "false"});
    separator = ",\n";
    if (!entry.made) {
      Put(out, {"}"});
      continue;
    }
    Put(out, {",\n      \"record\": {\n        \"dwSize\": ", Number(entry.record.dwSize)});
    for (size_t k = 0; k < std::size(kEntryKeys); ++k) {
      const EntryKey& key = kEntryKeys[k];
      std::string value;
      if (key.kind == FieldKind::kText) {
        value = "{\"text\": " + Json(TextOf(entry.record, key)) +
                ", \"lost\": " + Number(entry.lost[k]) + "}";
      } else if (key.kind == FieldKind::kAddress) {
        value = "\"" + DottedOf(entry.record, key) + "\"";
      } else if (key.kind == FieldKind::kNumber) {
        value = Number(DwordOf(entry.record, key));
      } else {
        const DWORD bits = DwordOf(entry.record, key);
        value = "{\"value\": " + Number(bits) + ", \"names\": [" +
                BitNames(bits, key, ", ", [](const char* name) { return Json(name); }) + "]}";
      }
      Put(out, {",\n        \"", key.field, "\": ", value});
    }
    Put(out, {",\n        \"szDeviceType\": {\"text\": ", Json(entry.record.szDeviceType),
              ", \"lost\": 0},\n        \"szDeviceName\": {\"text\": ",
              Json(entry.record.szDeviceName), ", \"lost\": 0}\n      },\n      \"lines\": {"});
    for (size_t k = 0; k < std::size(kEntryKeys); ++k) {
      Put(out, {k == 0 ? "\"" : ", \"", kEntryKeys[k].name, "\": ",
                entry.lines[k] > 0                ? Number(entry.lines[k])
                : entry.lines[k] == kLineNotFound ? "0"
                                                  : "null"});
    }
    Put(out, {"},\n      \"later\": {"});
    const char* comma = "";
    for (const RecordField& key : kLaterRecordFields) {
      if (entry.later.IsSet(key)) {
        const char* values = reinterpret_cast<const char*>(&entry.later.values);
        Put(out, {comma, "\"", key.name, "\": ", Json(FieldValueText(values, key))});
        comma = ", ";
      }
    }
    Put(out, {"}}"});
  }
  Put(out, {check.entries.empty() ? "]\n}\n" : "\n  ]\n}\n"});
}
