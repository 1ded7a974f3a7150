// A service's dials: one record and, for an asynchronous dial, one thread per dial, all under one
// lock. The notifier is always called without the lock, so that a notifier may call back into
// the service (a hang-up from inside a notifier is common).
#include "service_dials.h"

#include <atomic>
#include <map>
#include <memory>
#include <mutex>
#include <vector>

#include "base/critical_section.h"
#include "base/text.h"
#include "base/thread.h"
#include "platform/library_pin.h"
#include "platform/result_codes.h"

namespace {

constexpr DWORD kSimpleNotifier = 0;      // RASDIALFUNC
constexpr DWORD kNotifierWithHandle = 1;  // RASDIALFUNC1

struct Dial {
  std::unique_ptr<CDialProgress> progress;
  HRASCONN connection;
  std::string deviceType;
  std::string deviceName;
  RASCONNSTATE state = RASCS_OpenPort;
  DWORD error = 0;
  bool hungUp = false;
  bool finished = false;  // its thread calls no notifier any more and is about to end
  CThread thread;
};

void CallNotifier(DWORD type, void* notifier, HRASCONN connection, DialOutcome step) {
  if (type == kSimpleNotifier) {
    reinterpret_cast<RASDIALFUNC>(notifier)(WM_RASDIALEVENT, step.state, step.error);
  } else {
    reinterpret_cast<RASDIALFUNC1>(notifier)(connection, WM_RASDIALEVENT, step.state, step.error,
                                             0);
  }
}

class CDials {
 public:
  CDials() = default;
  CDials(const CDials&) = delete;
  CDials& operator=(const CDials&) = delete;

  // At process exit (or when the library is unloaded before it ever dialled): every dial stops
  // before its next notification and its thread is joined; a thread inside a notifier call is
  // waited for. No lock is taken here: on POSIX the threads are still running and see the flag
  // at their next state, but on Windows the platform has already ended them, wherever they were,
  // and a lock one of them held would never be released.
  ~CDials() {
    ending_ = true;
    for (const auto& dial : running_) {
      dial->progress->Stop();
      dial->thread.Join();
    }
  }

  DWORD Start(std::unique_ptr<CDialProgress> progress, const std::string& deviceType,
              const std::string& deviceName, DWORD notifierType, void* notifier,
              HRASCONN* connection) {
    if (notifier != nullptr && notifierType != kSimpleNotifier &&
        notifierType != kNotifierWithHandle) {
      return ERROR_INVALID_PARAMETER;
    }
    JoinFinished();
    auto dial = std::make_shared<Dial>();
    dial->progress = std::move(progress);
    dial->deviceType = deviceType;
    dial->deviceName = deviceName;
    {
      std::lock_guard<CCriticalSection> lock(lock_);
      // Handles are multiples of 16, never 0, as the platform's are spread.
      lastConnection_ += 16;
      dial->connection = reinterpret_cast<HRASCONN>(lastConnection_);
      connected_[dial->connection] = dial;
    }
    *connection = dial->connection;
    if (notifier == nullptr) {
      DialOutcome last = {RASCS_OpenPort, 0};
      for (DialOutcome step; dial->progress->Next(step);) {
        last = step;
      }
      std::lock_guard<CCriticalSection> lock(lock_);
      dial->state = last.state;
      dial->error = last.error;
      return last.error;
    }
    // Once, for the rest of the process: a caller may release the library while a dial thread
    // is still on its way out, and a library cannot join its threads while it is being unloaded
    // on every platform.
    std::call_once(pinned_, KeepThisLibraryLoaded);
    std::lock_guard<CCriticalSection> lock(lock_);
    // The thread is handed the record itself: running_ keeps it until the thread is joined.
    Dial* record = dial.get();
    if (!record->thread.Start([=, this] { Run(*record, notifierType, notifier); })) {
      connected_.erase(dial->connection);
      return ERROR_NOT_ENOUGH_MEMORY;
    }
    running_.push_back(dial);
    return 0;
  }

  DWORD ReadStatus(HRASCONN connection, RASCONNSTATUSA* status) {
    std::lock_guard<CCriticalSection> lock(lock_);
    const auto found = connected_.find(connection);
    if (found == connected_.end()) {
      return ERROR_INVALID_HANDLE;
    }
    const Dial& dial = *found->second;
    status->rasconnstate = dial.state;
    status->dwError = dial.error;
    CopyText(status->szDeviceType, dial.deviceType.c_str());
    CopyText(status->szDeviceName, dial.deviceName.c_str());
    return 0;
  }

  DWORD End(HRASCONN connection) {
    std::shared_ptr<Dial> dial;
    {
      std::lock_guard<CCriticalSection> lock(lock_);
      const auto found = connected_.find(connection);
      if (found == connected_.end()) {
        return ERROR_INVALID_HANDLE;
      }
      dial = found->second;
      dial->hungUp = true;
      connected_.erase(found);
    }
    dial->progress->Stop();
    JoinFinished();
    return 0;
  }

 private:
  void Run(Dial& dial, DWORD notifierType, void* notifier) {
    for (DialOutcome step; dial.progress->Next(step);) {
      {
        std::lock_guard<CCriticalSection> lock(lock_);
        if (dial.hungUp || ending_) {
          break;
        }
        dial.state = step.state;
        dial.error = step.error;
      }
      CallNotifier(notifierType, notifier, dial.connection, step);
    }
    std::lock_guard<CCriticalSection> lock(lock_);
    dial.finished = true;
  }

  // Joins the threads that have made their last notifier call: they have nothing left to do but
  // end, so this never waits for a notifier.
  void JoinFinished() {
    std::vector<std::shared_ptr<Dial>> finished;
    {
      std::lock_guard<CCriticalSection> lock(lock_);
      for (auto it = running_.begin(); it != running_.end();) {
        if ((*it)->finished && !(*it)->thread.IsCurrent()) {
          finished.push_back(*it);
          it = running_.erase(it);
        } else {
          ++it;
        }
      }
    }
    for (const auto& dial : finished) {
      dial->thread.Join();
    }
  }

  CCriticalSection lock_;
  std::map<HRASCONN, std::shared_ptr<Dial>> connected_;  // dialled and not hung up
  std::vector<std::shared_ptr<Dial>> running_;           // threads not joined yet
  uintptr_t lastConnection_ = 0;
  std::once_flag pinned_;
  std::atomic<bool> ending_{false};
};

CDials g_dials;

}  // namespace

DWORD StartDial(std::unique_ptr<CDialProgress> progress, const std::string& deviceType,
                const std::string& deviceName, DWORD notifierType, void* notifier,
                HRASCONN* connection) {
  return g_dials.Start(std::move(progress), deviceType, deviceName, notifierType, notifier,
                       connection);
}

DWORD ReadDialStatus(HRASCONN connection, RASCONNSTATUSA* status) {
  if (status == nullptr) {
    return ERROR_INVALID_PARAMETER;
  }
  if (status->dwSize != sizeof(RASCONNSTATUSA)) {
    return ERROR_INVALID_SIZE;
  }
  return g_dials.ReadStatus(connection, status);
}

DWORD EndDial(HRASCONN connection) {
  return g_dials.End(connection);
}
