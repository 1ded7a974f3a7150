// The command line: INIT="file.ini" CONNECT="name" [VPN="name"] [ASK=0], taken apart into the
// four process-wide values the run works from. The parse shows nothing itself; the run decides
// what to tell the user from its result and the values.
#pragma once

#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

// Capacity of each command-line text, terminator included.
inline constexpr size_t kCommandLineTextCapacity = 340;

extern char g_entryFilePath[kCommandLineTextCapacity];  // INIT, as a full path
extern char g_mainEntryName[kCommandLineTextCapacity];  // CONNECT
extern char g_vpnEntryName[kCommandLineTextCapacity];   // VPN; empty: no VPN entry
extern int32_t g_askForDevice;  // 1: let the user pick the modem even when one is remembered

// Parses the argument text (without the program name). Returns 0 when at least one INIT was met
// and every INIT named an existing file or directory; kInitPathNotFormed when an INIT had no
// full path (g_entryFilePath keeps its earlier content); kInitFileNotFound when there was no
// INIT (g_entryFilePath stays empty) or an INIT names nothing (g_entryFilePath holds its full
// path). The parse stops at the first failing INIT. Only g_askForDevice is reset first.
int32_t ParseCommandLine(const char* text);

// Reads only CONNECT and VPN into g_mainEntryName and g_vpnEntryName, by the parse's grammar, for
// a run that removes entries: it needs no entry description file, so an INIT, whether its file
// exists or not, is passed over like ASK, and never ends the reading early.
void ParseEntryNames(const char* text);

// A word of the command line that the run passes over, and why, for the log.
struct CIgnoredWord {
  std::string word;  // as written
  const char* why;
};

// The tool's own options: words that begin with a slash or a hyphen, which the parse passes
// over, so that its four values are the same with or without them. An option with an equals sign
// would end the parse, hence the colon.
struct CRunOptions {
  bool quiet = false;       // /quiet or /q: nobody is asked anything, nothing waits for a person
  bool overwrite = false;   // /overwrite: a quiet run answers the overwrite question with OK
  bool remove = false;      // /remove: the named entries are deleted instead of stored
  bool check = false;       // /check: a quiet run that changes nothing and says what it would
  std::string logFile;      // /log:FILE; empty: no log
  std::string reportFile;   // /report:FILE, the run's result for programs ("-": standard output)
  std::string device;       // /device:DEVICE, the answer to the device dialog; empty: none
  std::string secretsFile;  // /secrets:FILE, the entries' credentials ("-": standard input)
  // /credentials:always: set the credentials on every run, not only with a stored entry
  // (/credentials:changed, the default)
  bool credentialsAlways = false;
  // Words that the run passes over, to be named in the log, so that whoever wrote them learns why
  // the run did not do what they meant: words that look like options but are none (/quite, /log
  // without its colon, /overwrite:yes); keys of no meaning here (COLOR=blue, or a quoted
  // "VPN=Office VPN", whose key is "VPN); words without a value; and every word after an equals
  // sign where a key belongs (in an option's value, /log:a=b.log), where the parse ends.
  std::vector<CIgnoredWord> ignored;
};

// Finds the options in the argument text: whole words, their names in any letter case, after a
// slash or a hyphen alike. FILE is quoted when it holds a blank (/log:"C:\My Logs\run.log"), or
// the whole option is ("/log:C:\My Logs\run.log"); it cannot hold an equals sign, which would
// end the parse. The same holds for /device:DEVICE. The words of a key's value are the value's, as
// the parse reads them, never options. Of several /log, /report or /device, the last counts.
// /check implies /quiet.
CRunOptions ReadRunOptions(const char* text);

// The tokenizer. `set` is a zero-terminated list of delimiter characters; capacities count the
// terminator, and the destination always ends in a zero (unless its capacity is 0). Characters
// beyond capacity - 1 are passed over, so the parse stays in step with the text.

// Copies the run of characters at the start of `text` that belong to `set`; returns the position
// of the first character that does not (or of the terminator).
const char* CopySpan(char* destination, size_t capacity, const char* text, const char* set);

// Copies the run of characters at the start of `text` that do not belong to `set`; returns the
// position of the first member of `set` (or of the terminator).
const char* CopyToken(char* destination, size_t capacity, const char* text, const char* set);

// The position of the first character that is not a space, tab or line feed.
const char* SkipBlanks(const char* text);

// Skips blanks, then copies a value: up to the closing double quote when it opens with one (the
// result is then the position after the closing quote, or the end of the text), else up to the
// next blank.
const char* ReadValue(char* destination, size_t capacity, const char* text);
