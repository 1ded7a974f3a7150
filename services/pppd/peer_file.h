// A phone-book entry as pppd's peer: the peer file that `pon NAME` reads and, for a modem, the chat
// script that dials. Every field of the record either becomes a pppd option or is named in a
// comment that says why it is not applied on Linux; and the whole record is kept in the peer
// file as lines that start with "#:", from which the service reads the entry back exactly as it
// was stored. A peer file without those lines is one the service did not write.
// docs/pppd-service.md has the mapping as a table.
#pragma once

#include <string>
#include <string_view>

#include "entry/entry_record.h"
#include "platform_types.h"

// The names the service takes: the platform's rules for entry names (common/service_answers.h),
// and no longer than a file name may be (255 bytes). Such a name never holds a '/' or starts with
// a '.', so it names a file in the peers directory and nothing else.
bool IsPeerName(const char* name);

struct CPeerTexts {
  std::string peer;
  std::string chat;  // empty for a VPN entry, which has no chat script
};

// The peer file and chat script of the entry `name` under `root` (ppp_system.h). 0, or why the
// record cannot be a peer: kErrorNotSupported for framing other than PPP, which is all pppd
// speaks; kErrorDeviceDoesNotExist for a modem whose device name names no serial port.
DWORD FormatPeer(std::string_view name, const RASENTRYA& record, const std::string& root,
                 CPeerTexts* texts);

// The record that a peer file written by FormatPeer keeps (into `record` unless it is null);
// false for any other file.
bool ReadPeerRecord(std::string_view peer, RASENTRYA* record);

// The number the chat script dials for the record: LocalPhoneNumber with only what a modem
// dials (digits, * # , W P T ! @) kept; with UseCountryAndAreaCodes the area code's digits
// before it, as a call within the country. (Windows applies its location's dialing rules there;
// Linux keeps no location, so the country code is not dialled.)
std::string DialString(const RASENTRYA& record);
