// A phone-book entry as pppd's peer: one file, which `pon FILE` reads and whose `connect` option
// carries the modem's whole dialogue for chat, so that one rename switches everything a dial
// reads. Every field of the record either becomes a pppd option or is named in a comment that
// says why it is not applied on Linux; and the whole record is kept in the peer file as lines
// that start with "#:", from which the service reads the entry back exactly as it was stored.
// docs/pppd-service.md has the mapping as a table.
#pragma once

#include <cstddef>
#include <string>
#include <string_view>
#include <vector>

#include "entry/entry_layouts.h"
#include "entry/entry_record.h"
#include "platform_types.h"

// The first of the lines that keep the record; the entry's name follows ("#: Name=..."), then
// each field.
inline constexpr char kPeerRecordMark[] = "#: dialkit entry 1";

// The peer file of the entry `entryName` (a name IsPeerName takes) under `root` (ppp_system.h),
// from the record alone: the file system is not asked. 0, or why the record cannot be a peer:
// kErrorNotSupported for framing other than PPP, which is all pppd speaks;
// kErrorDeviceDoesNotExist for a modem whose device name names no port that ModemPort takes;
// ERROR_INVALID_PARAMETER for a VPN server that is no host name or address, or for a word longer
// than pppd reads whole (a root with a path of a thousand bytes).
// `later` holds the entry's fields of the later records (its base is not read): those the tool
// names are kept after the record's lines where they are not zero (entry_fields.h), the tunnel
// strategy among them.
DWORD FormatPeer(std::string_view entryName, const RASENTRYA& record, const std::string& root,
                 std::string* peer, const LongEntryRecord& later = {});

// PPTP is the one tunnel the service dials (through pptp): a strategy that tries it at all, only,
// first or after another tunnel, as Windows falls back to it, dials PPTP; one that excludes it
// (L2TP, SSTP or IKEv2 only) cannot be kept.
bool PeerTakesStrategy(DWORD vpnStrategy);

// The number the modem dials for the record: LocalPhoneNumber with only what a modem dials
// (digits, * # , ! @, and W P T in either letter case, as modems take them) kept; with
// UseCountryAndAreaCodes the area code's digits before it, as a call within the country. (Windows
// applies its location's dialing rules there; Linux keeps no location, so the country code is not
// dialled.)
std::string DialString(const RASENTRYA& record);

// What a peer file holds for the service.
struct CPeerContents {
  // A file of the service's own: its record lines and every option it would write for that
  // record are there, unchanged and in order, under the file name that the entry's name gives,
  // and every other line is one a person may add (personLines). Any other file (a person's own,
  // one with lines changed, doubled or cut off, a link, a device) is an entry of its own all the
  // same, with the record of a new entry: the tool then asks before it overwrites it, and nothing
  // it says is taken for what pppd would dial. It is named by the name its "#: Name=" line keeps
  // where that name gives its file name, and by its file name otherwise.
  bool ours = false;
  std::string entryName;
  RASENTRYA record;
  LongEntryRecord later = {};  // its fields of the later records; the base is not used
  // Blank lines, comments, and the options of the connection that no field of the record speaks
  // of (user, persist, maxfail, ...), each with its argument: a store or a rename keeps them.
  std::vector<std::string> personLines;
};

// What the peer file `fileName` under `root` holds, given its text (empty for anything that is
// not a regular file).
CPeerContents ReadPeerContents(std::string_view fileName, std::string_view text,
                               const std::string& root);

// Whether `option` is one a person may add to a peer file of the service's own (personLines),
// and how many arguments it takes.
bool IsPersonOption(std::string_view option, size_t* arguments);

// `peer` with the lines a person added after the service's own.
std::string WithPersonLines(std::string peer, const std::vector<std::string>& personLines);
