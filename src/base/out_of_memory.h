// How the process ends when memory runs out where the tool cannot go on. By default the runtime
// aborts, which on Windows shows the C runtime's own message box; a run with nobody at the screen
// must instead end with a status of its own that a caller can read, and say why where it can.
#pragma once

// While it lives, an allocation that cannot be satisfied ends the process with `exitStatus`,
// after `report` has run once with a reserve of memory freed for it (an allocation that fails
// within `report` ends the process at once). Destructors and exit handlers do not run. Its end
// gives the process back the handling it had before. One at a time.
class CEndWhenMemoryRunsOut {
 public:
  CEndWhenMemoryRunsOut(int exitStatus, void (*report)());
  ~CEndWhenMemoryRunsOut();
  CEndWhenMemoryRunsOut(const CEndWhenMemoryRunsOut&) = delete;
  CEndWhenMemoryRunsOut& operator=(const CEndWhenMemoryRunsOut&) = delete;

 private:
  void (*previous_)();
};
