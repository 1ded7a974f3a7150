// What an unattended run leaves behind for the person who reads about it afterwards: the log
// (/log:FILE), one line per event, and the window system of a logged or quiet run, which puts
// every message the run shows, or in a quiet run would have shown, into that log.
#pragma once

#include <initializer_list>
#include <string>
#include <string_view>
#include <vector>

#include "framework/window_system.h"

class CRunLog {
 public:
  // `path`: the log file's full path; empty: no log. `quiet`: nobody sees the run, so what it
  // reports is written where a person can still read it (WriteUnshownLine) as well.
  CRunLog(std::string path, bool quiet);

  // Appends one line: the local date and time, a blank, and the event, its parts joined, with
  // every control character written as \xHH, so that no text from the command line, a file or
  // the service can end the line or forge another. A log that cannot be opened or written is
  // passed over: it never changes what the run does.
  void Note(std::initializer_list<std::string_view> event) const;
  // Noted, and in a quiet run also written where a person can read it.
  void Report(std::initializer_list<std::string_view> event) const;
  // Noted, and written where a person can read it in every run: for what the person who wrote
  // the command line must learn even when the run goes on to show its windows.
  void Warn(std::initializer_list<std::string_view> event) const;

 private:
  std::string path_;
  bool quiet_;
};

// Put in place for its lifetime, it reports every message box as "TITLE: TEXT" (line breaks as
// blanks) to the log, and keeps the line for the run's report. A run that is not quiet also shows
// everything through the window system it replaced. A quiet run shows nothing: a message box
// counts as answered OK, every question as Cancel (the run itself decides the one question that
// /overwrite answers, so that no other can ever be answered yes by accident), and a dialog does
// not open (-1).
class CLoggedWindowSystem final : public CWindowSystem {
 public:
  // `shown` receives each message's line.
  CLoggedWindowSystem(const CRunLog& log, bool quiet, std::vector<std::string>* shown);
  ~CLoggedWindowSystem();
  CLoggedWindowSystem(const CLoggedWindowSystem&) = delete;
  CLoggedWindowSystem& operator=(const CLoggedWindowSystem&) = delete;

  int ShowMessageBox(const char* text, const char* title, UINT style) override;
  int RunModalDialog(CDialog& dialog) override;

 private:
  const CRunLog& log_;
  std::vector<std::string>* lines_;
  CWindowSystem* shown_;  // null: quiet
  CWindowSystem* replaced_;
};
