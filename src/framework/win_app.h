// The application class. A program has one application object, constructed as a global object;
// the process entry hands RunApplication the command-line text and the executable's path, and
// RunApplication starts that object. The tool has no main window and no message loop: its
// whole work happens in InitInstance.
#pragma once

#include <string>

#include "framework/window_constants.h"
#include "platform_types.h"

class CWinApp {
 public:
  // Constructing the application object makes it the one that RunApplication starts. Without an
  // application name the name is taken from the executable's file name when the object starts.
  explicit CWinApp(const char* appName = nullptr);
  virtual ~CWinApp();
  CWinApp(const CWinApp&) = delete;
  CWinApp& operator=(const CWinApp&) = delete;

  // The start-up. This framework has no message loop, so whatever InitInstance answers, the
  // exit step follows. The default does nothing and answers TRUE.
  virtual BOOL InitInstance();
  // The exit step; its result is the process's exit code. The default returns 0.
  virtual int ExitInstance();
  // What `--help` and `--version` alone print, where the platform's programs answer them (POSIX)
  // and the process entry does instead of starting the object. Empty by default.
  virtual std::string UsageText() const { return {}; }
  virtual std::string VersionText() const { return {}; }

  // The arguments without the program name, as the process entry handed them over; empty
  // before the start.
  const char* CommandLineText() const { return commandLineText_.c_str(); }
  // The executable's full path with its extension replaced by ".HLP" (appended when the file
  // name has none), as kept for a help file; empty before the start.
  const char* HelpFilePath() const { return helpFilePath_.c_str(); }
  const char* AppName() const { return appName_.c_str(); }

 private:
  friend int RunApplication(const char* commandLineText, const char* executablePath);
  std::string appName_;
  std::string commandLineText_;
  std::string helpFilePath_;
};

// The application object; null when none has been constructed.
CWinApp* CurrentApplication();

// Starts the application object: records the command-line text (the arguments without the
// program name) and the executable's full path, runs InitInstance and then ExitInstance, and
// returns ExitInstance's result; -1 when there is no application object. Null texts count as
// empty.
int RunApplication(const char* commandLineText, const char* executablePath);

// The command-line text for arguments that a POSIX shell has already split and unquoted: the
// arguments after the program name, joined by single blanks, quoted again where the tool's
// grammar needs it. An argument of the form key=value whose value is empty or holds a blank
// (space, tab or line feed) becomes key="value", so that `CONNECT=My ISP` arrives as
// CONNECT="My ISP"; any other argument holding a blank is enclosed in quotes whole. A value
// that itself holds a double quote cannot be quoted (the grammar has no escape) and passes
// unchanged. Empty arguments are left out.
std::string CommandLineFromArguments(int argc, const char* const* argv);

// `executablePath` with the extension of its file name replaced by ".HLP", or ".HLP" appended
// when the file name has none. Empty for an empty path.
std::string HelpFilePathFor(const char* executablePath);
