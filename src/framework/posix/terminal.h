// A terminal held in raw mode for the length of one message box or dialog: keys arrive one by one,
// unechoed, and Ctrl-C arrives as a key rather than as a signal. The terminal's own settings come
// back on every way out: when the object goes, and when a signal that ends the process arrives
// meanwhile (hang-up, interrupt, quit, terminate).
#pragma once

#include <termios.h>

#include <string_view>

// Writes all of `text` to `descriptor`, as far as it will take it.
void WriteToDescriptor(int descriptor, std::string_view text);

enum class TerminalKey {
  kEnter,
  kEscape,
  kUp,
  kDown,
  kInterrupt,  // Ctrl-C or Ctrl-D
  kCharacter,  // a printable or other key; see CTerminal::LastCharacter
  kOther,      // an escape sequence of some other key
  kEnd,        // the terminal has gone (hang-up, end of input, read error)
};

class CTerminal {
 public:
  // Opens the terminal device at `path` without making it the controlling terminal, discards
  // whatever was typed before (so that no stray key answers a question not yet shown) and
  // switches to raw mode. IsOpen() tells whether all of it worked; otherwise nothing was changed.
  explicit CTerminal(const char* path);
  // Restores the terminal's settings and closes it.
  ~CTerminal();
  CTerminal(const CTerminal&) = delete;
  CTerminal& operator=(const CTerminal&) = delete;

  bool IsOpen() const { return descriptor_ >= 0; }

  // Writes `text` as it is; the terminal turns line feeds into new lines.
  void Write(std::string_view text) { WriteToDescriptor(descriptor_, text); }

  // Waits for the next key. A lone Escape is told from the start of an arrow key's sequence by
  // waiting briefly for the rest of the sequence.
  TerminalKey ReadKey();
  char LastCharacter() const { return lastCharacter_; }

  // The terminal's width in columns and height in lines; 0 when unknown.
  int Width() const;
  int Height() const;

 private:
  // The next byte; -1 when none came within `timeoutMilliseconds` (-1: wait for ever), -2 when
  // the terminal has gone.
  int ReadByte(int timeoutMilliseconds);

  int descriptor_ = -1;
  termios saved_{};
  int pendingByte_ = -1;
  char lastCharacter_ = '\0';
};
