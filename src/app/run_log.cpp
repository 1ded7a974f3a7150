// The run's log and the window system that feeds it.
#include "app/run_log.h"

#include <algorithm>
#include <utility>

#include "platform/local_time.h"
#include "platform/log_append.h"

namespace {

std::string EscapedEvent(std::initializer_list<std::string_view> event) {
  std::string escaped;
  for (const std::string_view part : event) {
    for (const char c : part) {
      const unsigned char byte = static_cast<unsigned char>(c);
      if (byte < 0x20 || byte == 0x7f) {
        constexpr char kHexDigits[] = "0123456789abcdef";
        escaped += "\\x";
        escaped += kHexDigits[byte >> 4];
        escaped += kHexDigits[byte & 0xf];
      } else {
        escaped += c;
      }
    }
  }
  return escaped;
}

}  // namespace

CRunLog::CRunLog(std::string path, bool quiet) : path_(std::move(path)), quiet_(quiet) {}

void CRunLog::Note(std::initializer_list<std::string_view> event) const {
  if (!path_.empty()) {
    std::string line = LocalDateTimeText();
    line += ' ';
    line += EscapedEvent(event);
    AppendLineToFile(path_.c_str(), line);
  }
}

void CRunLog::Report(std::initializer_list<std::string_view> event) const {
  Note(event);
  if (quiet_) {
    WriteUnshownLine(EscapedEvent(event));
  }
}

void CRunLog::Warn(std::initializer_list<std::string_view> event) const {
  Note(event);
  WriteUnshownLine(EscapedEvent(event));
}

CLoggedWindowSystem::CLoggedWindowSystem(const CRunLog& log, bool quiet,
                                         std::vector<std::string>* shown)
    : log_(log),
      lines_(shown),
      shown_(quiet ? nullptr : &CurrentWindowSystem()),
      replaced_(ReplaceWindowSystem(this)) {}

CLoggedWindowSystem::~CLoggedWindowSystem() {
  ReplaceWindowSystem(replaced_);
}

int CLoggedWindowSystem::ShowMessageBox(const char* text, const char* title, UINT style) {
  std::string oneLine = text;
  std::replace(oneLine.begin(), oneLine.end(), '\n', ' ');
  log_.Report({title, ": ", oneLine});
  lines_->push_back(std::string(title) + ": " + oneLine);
  if (shown_ != nullptr) {
    return shown_->ShowMessageBox(text, title, style);
  }
  return (style & MB_TYPEMASK) == MB_OKCANCEL ? IDCANCEL : IDOK;
}

int CLoggedWindowSystem::RunModalDialog(CDialog& dialog) {
  return shown_ != nullptr ? shown_->RunModalDialog(dialog) : -1;
}
