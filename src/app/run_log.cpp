// The run's log and the window system that feeds it.
#include "app/run_log.h"

#include <algorithm>
#include <cstdio>
#include <utility>

#include "platform/file_system.h"

CRunLog::CRunLog(std::string path, bool quiet) : path_(std::move(path)), quiet_(quiet) {}

void CRunLog::Note(std::string_view event) const {
  if (path_.empty()) {
    return;
  }
  AppendLineToFile(path_.c_str(), LocalDateTimeText() + " " + EscapedForLog(event));
}

void CRunLog::Report(std::string_view event) const {
  Note(event);
  if (quiet_) {
    WriteUnshownLine(EscapedForLog(event));
  }
}

std::string EscapedForLog(std::string_view text) {
  std::string escaped;
  for (const char c : text) {
    const unsigned char byte = static_cast<unsigned char>(c);
    if (byte < 0x20 || byte == 0x7f) {
      char code[5];
      std::snprintf(code, sizeof code, "\\x%02x", byte);
      escaped += code;
    } else {
      escaped += c;
    }
  }
  return escaped;
}

CLoggedWindowSystem::CLoggedWindowSystem(const CRunLog& log, bool quiet, bool overwrite)
    : log_(log),
      shown_(quiet ? nullptr : &CurrentWindowSystem()),
      overwrite_(overwrite),
      replaced_(ReplaceWindowSystem(this)) {}

CLoggedWindowSystem::~CLoggedWindowSystem() {
  ReplaceWindowSystem(replaced_);
}

int CLoggedWindowSystem::ShowMessageBox(const char* text, const char* title, UINT style) {
  std::string message = std::string(title) + ": " + text;
  std::replace(message.begin(), message.end(), '\n', ' ');
  log_.Report(message);
  if (shown_ != nullptr) {
    return shown_->ShowMessageBox(text, title, style);
  }
  const bool question = (style & MB_TYPEMASK) == MB_OKCANCEL;
  return question && !overwrite_ ? IDCANCEL : IDOK;
}

int CLoggedWindowSystem::RunModalDialog(CDialog& dialog) {
  return shown_ != nullptr ? shown_->RunModalDialog(dialog) : -1;
}
