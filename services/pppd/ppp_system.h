// The system the pppd service works on. Its files and programs lie under a root: the machine's own
// (/) unless the environment variable DIALKIT_PPP_ROOT names another directory, as tests and the
// demo do. Every path the service writes into a file is the path under that root as this machine
// sees it, so that pppd, chat and pptp on this machine find what the files name:
//
//   ROOT/etc/ppp/peers/FILE     the peer file that `pon FILE` (pppd call FILE) reads
//   ROOT/usr/sbin/pppd, chat, pptp   the programs
//   ROOT/sys/class/tty, ROOT/dev     where the serial ports are found
#pragma once

#include <sys/types.h>

#include <string>
#include <string_view>
#include <vector>

#include "platform/ras_service.h"

// The root, without a final separator: empty for the machine's own.
std::string PppRoot();

std::string PeersDirectory(const std::string& root);
std::string PeerFilePath(const std::string& root, std::string_view name);
std::string SystemProgram(const std::string& root, const char* program);  // ROOT/usr/sbin/...

// The device type and name of the one VPN adapter, there when pptp is installed.
inline constexpr char kModemType[] = "modem";
inline constexpr char kVpnType[] = "vpn";
inline constexpr char kPptpAdapterName[] = "PPTP (pptp-linux)";

// The group dip, whose members may dial with pon; -1 where there is none.
gid_t DialersGroup();

// Whether only root, the user the service runs as and the group dip may change the open file or
// folder `file`, by its mode, and it carries no ACL, which may let others write where the mode
// does not show it: whoever else may change a peer file, or a folder on the way to a peer or a
// port, could put options or a device of their own into root's dials.
bool IsClosedToOthers(int file);

// The remote-access devices of the system under `root`: each serial port that exists as a device
// (a ttyS port only where its UART is real; ttyUSB, ttyACM and ttyAMA ports), of type modem, named
// by its product where sysfs has one and its path in parentheses ("Acme 56K (/dev/ttyUSB0)"), or by
// its path alone; and the PPTP adapter of type vpn where ROOT/usr/sbin/pptp is installed. Sorted by
// type and then name, byte by byte, as the tool sorts them.
std::vector<RASDEVINFOA> FindDevices(const std::string& root);

// Whether the port that ModemPort gave may be handed to pppd, which opens it as root and talks
// to it as the modem and the PPP peer: a serial port by its name, or by the name of what a link
// there ends in (/dev/serial/by-id/... in /dev/ttyUSB0), a character device of root's; or not
// there at all (a modem unplugged now is used all the same), when its name is a serial port's
// or it lies in /dev/serial. Every folder from ROOT/dev to the port, and every folder above the
// device a link ends in, only root, this user and dip may change, so nobody else can put a
// device of their own (a pseudo-terminal) there later.
bool IsModemDevice(const std::string& root, const std::string& port);
