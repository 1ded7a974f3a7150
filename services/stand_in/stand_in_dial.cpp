// The stand-in service's scripted dials, paced through the platform's dial states.
#include "stand_in_dial.h"

#include <atomic>
#include <chrono>
#include <thread>
#include <vector>

#include "service_files.h"

namespace {

// Long enough that a test can hang up in the middle of a dial, short enough that dials in
// tests end at once.
constexpr std::chrono::milliseconds kPauseBetweenStates(2);

class CScriptedDial final : public CDialProgress {
 public:
  explicit CScriptedDial(DialOutcome outcome) {
    for (size_t i = 0; i < kDialStateCount; ++i) {
      const RASCONNSTATE state = kDialStates[i].state;
      if (state == outcome.state) {
        states_.push_back(outcome);
        break;
      }
      states_.push_back({state, 0});
    }
  }

  bool Next(DialOutcome& step) override {
    if (next_ > 0) {
      std::this_thread::sleep_for(kPauseBetweenStates);
    }
    if (stopped_ || next_ == states_.size()) {
      return false;
    }
    step = states_[next_++];
    return true;
  }

  void Stop() override { stopped_ = true; }

 private:
  std::vector<DialOutcome> states_;  // the last carries the error
  size_t next_ = 0;
  std::atomic<bool> stopped_{false};
};

}  // namespace

std::unique_ptr<CDialProgress> ScriptedDial(DialOutcome outcome) {
  return std::make_unique<CScriptedDial>(outcome);
}
