// The words that the pppd service writes into a peer file, and the names and values it lets into
// them. pppd is setuid root and obeys every option of a peer file, and the tool that stores the
// entries runs as root, with names and values from files and from a fleet's inventory: a value
// that became two words could add an option of its own (a plugin, a command). So every word goes
// through PppWord, every word of a command that pppd hands to the shell through ShellWord, every
// comment through CommentText, and a value that cannot be what its field means is refused.
#pragma once

#include <cstddef>
#include <string>
#include <string_view>

// The longest word pppd reads whole; it cuts a longer one without failing.
inline constexpr size_t kPppWordLimit = 1023;

// `text` as one word of pppd's options lexer: as it is when it holds only letters, digits and
// / . _ - + : = , @; otherwise in double quotes, with a backslash before a backslash or a double
// quote and a control character as a three-digit octal escape.
std::string PppWord(std::string_view text);

// `text` as one word of the shell that runs pppd's connect and pty commands: as it is when it
// holds only the characters above but '=', otherwise in single quotes.
std::string ShellWord(std::string_view text);

// `text` for a comment, which ends at the first line break: control characters, per cent signs
// and blanks at its ends as %HH, as the record's lines keep them.
std::string CommentText(std::string_view text);

// The name of the peer file of an entry, which `pon FILE` and `poff FILE` take as Debian ships
// them: pon hands its argument to pppd unquoted, poff matches it in a regular expression, and
// both take a leading '-' for an option. So the file name keeps the name's ASCII letters, digits
// and '_', and every run of other characters becomes one '-', none at either end:
// "Home Dial-Up" is Home-Dial-Up. Empty when nothing is left.
std::string PeerFileName(std::string_view entryName);

// The names the service takes: the platform's rules for entry names, and a peer file name of 1 to
// 255 bytes. Such a file name never holds a '/' or starts with a '.', so it names a file in the
// peers directory and nothing else.
bool IsPeerName(const char* name);

// A VPN server: a host name or an IPv4 address, letters, digits, '.', '-' and '_' that begin
// with a letter or a digit, so never an option of pptp.
bool IsServerName(std::string_view server);

// The port that a modem's device name names (the path in its last parentheses, or the whole name
// when it is a path), when a peer file may name it: a path under ROOT/dev/ of letters, digits and
// / . _ - + : without empty, "." or ".." parts. Empty otherwise. Whether a serial port is there is
// the system's to say (IsModemDevice), when the entry is stored: what a peer file says is read
// back whatever the state of the machine's devices.
std::string ModemPort(const std::string& root, std::string_view deviceName);
