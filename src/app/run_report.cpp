// The run's report in JSON.
#include "app/run_report.h"

#include <string_view>

#include "dialkit_version.h"
#include "platform/program_output.h"

namespace {

// A JSON string of `text`, which is in the platform's code page: in UTF-8, with quotes,
// backslashes and control characters escaped.
std::string Json(std::string_view text) {
  std::string json = "\"";
  for (const char c : TextInUtf8(text)) {
    const auto byte = static_cast<unsigned char>(c);
    if (c == '"' || c == '\\') {
      json.append(1, '\\').append(1, c);
    } else if (byte < 0x20 || byte == 0x7F) {
      constexpr char kHexDigits[] = "0123456789abcdef";
      json.append("\\u00").append(1, kHexDigits[byte >> 4]).append(1, kHexDigits[byte & 0xF]);
    } else {
      json += c;
    }
  }
  return json + "\"";
}

std::string JsonOrNull(const std::optional<std::string>& text) {
  return text ? Json(*text) : "null";
}

void AppendEntry(std::string& report, const CEntryOutcome& entry) {
  report.append("    {\n      \"name\": ").append(Json(entry.name));
  report.append(",\n      \"kind\": ").append(entry.vpn ? "\"vpn\"" : "\"dial-up\"");
  report.append(",\n      \"result\": \"").append(EntryResultName(entry.result)).append("\"");
  report.append(",\n      \"device\": ");
  if (entry.deviceType) {
    report.append("{\"type\": ").append(JsonOrNull(entry.deviceType));
    report.append(", \"name\": ").append(JsonOrNull(entry.deviceName)).append("}");
  } else {
    report.append("null");
  }
  report.append(",\n      \"changes\": [");
  const char* separator = "\n";
  for (const CEntryChange& change : entry.changes) {
    report.append(separator).append("        {\"key\": \"").append(change.key);
    report.append("\", \"before\": ").append(JsonOrNull(change.before));
    report.append(", \"after\": ").append(JsonOrNull(change.after)).append("}");
    separator = ",\n";
  }
  report.append(entry.changes.empty() ? "]" : "\n      ]");
  report.append(",\n      \"error\": ");
  report.append(entry.error ? std::to_string(*entry.error) : "null");
  if (entry.credentials != nullptr) {
    report.append(",\n      \"credentials\": \"").append(entry.credentials).append("\"");
  }
  report.append(",\n      \"message\": ").append(Json(entry.message)).append("\n    }");
}

}  // namespace

std::string FormatRunReport(const CRunResult& result, int status,
                            const std::vector<std::string>& messages) {
  std::string report = "{\n  \"schema\": 1,\n  \"version\": \"" DIALKIT_VERSION_TEXT "\"";
  report.append(",\n  \"status\": ").append(std::to_string(status));
  report.append(",\n  \"changed\": ").append(result.Changed() ? "true" : "false");
  report.append(",\n  \"check\": ").append(result.Check() ? "true" : "false");
  report.append(",\n  \"entries\": [");
  // The dial-up entry first, whatever the order the run came to them in.
  const char* separator = "\n";
  for (const bool vpn : {false, true}) {
    for (const CEntryOutcome& entry : result.Entries()) {
      if (entry.vpn == vpn) {
        report.append(separator);
        AppendEntry(report, entry);
        separator = ",\n";
      }
    }
  }
  report.append(result.Entries().empty() ? "]" : "\n  ]");
  report.append(",\n  \"messages\": [");
  separator = "";
  for (const std::string& message : messages) {
    report.append(separator).append(Json(message));
    separator = ", ";
  }
  return report + "]\n}\n";
}

bool WriteRunReport(const std::string& target, const std::string& report) {
  return target == "-" ? WriteStandardOutput(report) : WriteOutputFile(target.c_str(), report);
}
