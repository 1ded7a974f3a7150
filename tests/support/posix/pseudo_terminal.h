// A pseudo-terminal for tests: the front end (in the test's own process, or a program the test
// starts) talks to its terminal side as to a person's terminal; the test reads the screen and
// types on the other side. The test keeps the terminal side open as well, so that the terminal
// does not go away between two questions and its settings can be read.
#pragma once

#include <sys/types.h>
#include <termios.h>

#include <string>
#include <utility>
#include <vector>

namespace test {

class PseudoTerminal {
 public:
  PseudoTerminal();
  ~PseudoTerminal();
  PseudoTerminal(const PseudoTerminal&) = delete;
  PseudoTerminal& operator=(const PseudoTerminal&) = delete;

  // The terminal side's device name.
  const std::string& Path() const { return path_; }
  // Everything the terminal has shown so far.
  const std::string& Screen() const { return screen_; }
  tcflag_t LocalModes() const;

  void Type(const std::string& keys);
  void Resize(unsigned short columns, unsigned short lines);

  // Reads the screen until `text` appears after what earlier waits found; false after 5 s.
  bool WaitFor(const std::string& text);

  // The terminal goes away: a front end still waiting for a key sees the end.
  void HangUp();

  // Starts `arguments[0]` with the others as its arguments, in its own session with this
  // terminal as its controlling terminal and its standard streams, in `directory`, with
  // `environment` added to the test's. Returns the process id.
  pid_t Start(const std::vector<std::string>& arguments, const std::string& directory,
              const std::vector<std::pair<std::string, std::string>>& environment);

  // Waits up to 20 s for the started program to end, reading the screen meanwhile; its exit
  // status, or -1 when it had to be killed or did not exit normally.
  int WaitForExit(pid_t process);

 private:
  bool ReadScreen(int timeoutMilliseconds);

  int master_ = -1;
  int terminal_ = -1;
  std::string path_;
  std::string screen_;
  size_t seen_ = 0;
};

}  // namespace test
