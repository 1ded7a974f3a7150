// The dials of a service. A dial runs on a thread of the service: it passes through the
// platform's dial states in order, as its progress (CDialProgress) reports them, and tells the
// caller's notifier of each, the first one possibly before RasDialA has returned. It ends in
// RASCS_Connected or in the state where it failed, with the error. The connection then stays
// until it is hung up, as on the platform, where even a failed dial must be hung up.
//
// A hang-up never waits for a notifier call in progress: the caller may be holding a lock that
// the notifier is waiting for. It stops the dial's progress (which may wait for the dial's own
// work to end: a pppd process) and the dial's thread ends before its next notification. Threads
// that have ended are joined by later calls; the rest when the service is unloaded or the
// process ends. While any dial thread may still run the service keeps itself loaded, so that a
// caller that releases the library cannot pull the code from under a thread.
#pragma once

#include <memory>
#include <string>

#include "platform/ras_service.h"
#include "platform_types.h"

// A state a dial reaches, with its error: 0 but for the last state of a failed dial.
struct DialOutcome {
  RASCONNSTATE state;
  DWORD error;
};

// How a dial goes on, as the service's dial thread asks it.
class CDialProgress {
 public:
  virtual ~CDialProgress() = default;
  // Waits for the dial's next state; false when it has reached its last.
  virtual bool Next(DialOutcome& step) = 0;
  // The dial is hung up: a Next in progress, or the next one, returns false soon. Called from
  // another thread than Next, without the service's lock; it may wait for the dial's own work.
  virtual void Stop() = 0;
};

// Starts a dial that goes as `progress` says, with the given device. `notifierType` 0 takes a
// RASDIALFUNC, 1 a RASDIALFUNC1; a null notifier dials synchronously: the dial has ended when
// this returns, with its error as the result. 87 for any other notifier type. The new handle
// goes to *connection. Before the first dial thread starts, the service's library is kept
// loaded for the rest of the process (KeepThisLibraryLoaded).
DWORD StartDial(std::unique_ptr<CDialProgress> progress, const std::string& deviceType,
                const std::string& deviceName, DWORD notifierType, void* notifier,
                HRASCONN* connection);

// RasGetConnectStatusA's answer: the state the dial has reached, its error and its device; 87
// without a record, 632 for a wrong dwSize, 6 for a handle that is not connected.
DWORD ReadDialStatus(HRASCONN connection, RASCONNSTATUSA* status);

// Forgets the connection and stops its dial; 6 for a handle that is not connected.
DWORD EndDial(HRASCONN connection);
