// The stand-in service's dials. A dial runs on a thread of the service: it passes through the
// platform's dial states one after another (kDialStates of service_files.h), a short pause
// apart, and tells the caller's notifier of each, the first one possibly before RasDialA has
// returned. It ends in RASCS_Connected or, when failures.txt orders it, in the ordered state
// with the ordered error. The connection then stays until it is hung up, as on the platform,
// where even a failed dial must be hung up.
//
// A hang-up never waits for a notifier call in progress: the caller may be holding a lock that
// the notifier is waiting for. The dial's thread sees the hang-up before its next notification
// and ends. Threads that have ended are joined by later calls; the rest when the service is
// unloaded or the process ends. While any dial thread may still run the service keeps itself
// loaded, so that a caller that releases the library cannot pull the code from under a thread.
#pragma once

#include <string>

#include "platform/ras_service.h"
#include "platform_types.h"
#include "service_files.h"

// Starts a dial with the device of the entry. `notifierType` 0 takes a RASDIALFUNC, 1 a
// RASDIALFUNC1; a null notifier dials synchronously: the dial has ended when this returns, with
// its error as the result. 87 for any other notifier type. The new handle goes to *connection.
DWORD StartDial(const std::string& deviceType, const std::string& deviceName, DialOutcome outcome,
                DWORD notifierType, void* notifier, HRASCONN* connection);

// The state the dial has reached, its error and its device; 6 for a handle that is not
// connected.
DWORD ReadDialStatus(HRASCONN connection, RASCONNSTATUSA* status);

// Forgets the connection and stops its dial; 6 for a handle that is not connected.
DWORD EndDial(HRASCONN connection);
