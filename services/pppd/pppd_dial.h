// A dial through pppd: `pppd call NAME nodetach logfd 1` (or `file PEERFILE` for a root of its
// own, ppp_system.h), whose log on its standard output tells how far the dial has come:
//
//   pppd started                     RASCS_OpenPort, RASCS_PortOpened, RASCS_ConnectDevice
//   "Serial connection established." RASCS_DeviceConnected (the chat script has dialled)
//   "Using interface pppN"           RASCS_AllDevicesConnected
//   "Connect: pppN <--> ..."         RASCS_Authenticate
//   "... authentication succeeded"   RASCS_Authenticated
//   "local  IP address ..."          RASCS_Projected
//   "remote IP address ..."          RASCS_Connected
//
// States are reported in this order, each once; a state that pppd passes without a word (no
// authentication asked for) is reported before the next one it names. When pppd ends before the
// connection is made, the state it reached is reported once more with the error of pppd's exit
// status (PppdExitError), as the platform reports a failure. A hang-up ends pppd (SIGTERM, then
// SIGKILL after five seconds) and waits for it. The password, when there is one, goes to pppd
// through a pipe (its passwordfd plugin), never on its command line.
#pragma once

#include <memory>
#include <string>
#include <string_view>
#include <vector>

#include "service_dials.h"

// pppd's arguments for a dial of the peer `name` under `root`, as a user `user` (none when
// empty), with a password given through file descriptor 3 when `withPassword`.
std::vector<std::string> PppdArguments(const std::string& root, const std::string& name,
                                       const std::string& user, bool withPassword);

// The dial state a line of pppd's log reaches; RASCS_OpenPort for a line that reaches none.
RASCONNSTATE PppdLineState(const std::string& line);

// The platform's error for pppd's exit status (pppd(8), EXIT STATUS).
DWORD PppdExitError(int status);

// The dial's progress: starts `program` with `arguments` when first asked, and hands it
// `password` (the dial keeps a copy of its own, wiped once pppd has it).
std::unique_ptr<CDialProgress> PppdDial(std::string program, std::vector<std::string> arguments,
                                        std::string_view password);
