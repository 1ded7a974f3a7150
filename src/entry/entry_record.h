// The dial-up entry record: the platform's phone-book entry record RASENTRYA in its 1768-byte
// form, with its address record and the option, protocol and framing bits under the platform's
// names. This is the entry subsystem's chief header; the rest of the system takes the record from
// here. The record crosses to the Remote Access Service byte for byte, so every offset is checked
// below on every build.
#pragma once

#include <cstddef>
#include <cstdint>

#include "platform_types.h"

// A dotted address a.b.c.d, stored as the bytes a, b, c, d in this order.
struct RASIPADDR {
  BYTE a;
  BYTE b;
  BYTE c;
  BYTE d;
};

struct RASENTRYA {
  DWORD dwSize;
  DWORD dwfOptions;
  DWORD dwCountryID;
  DWORD dwCountryCode;
  char szAreaCode[11];
  char szLocalPhoneNumber[129];
  DWORD dwAlternateOffset;
  RASIPADDR ipaddr;
  RASIPADDR ipaddrDns;
  RASIPADDR ipaddrDnsAlt;
  RASIPADDR ipaddrWins;
  RASIPADDR ipaddrWinsAlt;
  DWORD dwFrameSize;
  DWORD dwfNetProtocols;
  DWORD dwFramingProtocol;
  char szScript[260];
  char szAutodialDll[260];
  char szAutodialFunc[260];
  char szDeviceType[17];
  char szDeviceName[129];
  char szX25PadType[33];
  char szX25Address[201];
  char szX25Facilities[201];
  char szX25UserData[201];
  // Two bytes of padding lie here, before the next DWORD.
  DWORD dwChannels;
  DWORD dwReserved1;
  DWORD dwReserved2;
};

inline constexpr uint32_t kEntryRecordSize = 1768;

// Option bits of dwfOptions.
inline constexpr DWORD RASEO_UseCountryAndAreaCodes = 0x0001;
inline constexpr DWORD RASEO_SpecificIpAddr = 0x0002;
inline constexpr DWORD RASEO_SpecificNameServers = 0x0004;
inline constexpr DWORD RASEO_IpHeaderCompression = 0x0008;
inline constexpr DWORD RASEO_RemoteDefaultGateway = 0x0010;
inline constexpr DWORD RASEO_DisableLcpExtensions = 0x0020;
inline constexpr DWORD RASEO_TerminalBeforeDial = 0x0040;
inline constexpr DWORD RASEO_TerminalAfterDial = 0x0080;
inline constexpr DWORD RASEO_ModemLights = 0x0100;
inline constexpr DWORD RASEO_SwCompression = 0x0200;
inline constexpr DWORD RASEO_RequireEncryptedPw = 0x0400;
inline constexpr DWORD RASEO_RequireMsEncryptedPw = 0x0800;
inline constexpr DWORD RASEO_RequireDataEncryption = 0x1000;
inline constexpr DWORD RASEO_NetworkLogon = 0x2000;
inline constexpr DWORD RASEO_UseLogonCredentials = 0x4000;
inline constexpr DWORD RASEO_PromoteAlternates = 0x8000;

// Network protocol bits of dwfNetProtocols.
inline constexpr DWORD RASNP_NetBEUI = 0x0001;
inline constexpr DWORD RASNP_Ipx = 0x0002;
inline constexpr DWORD RASNP_Ip = 0x0004;

// Framing bits of dwFramingProtocol.
inline constexpr DWORD RASFP_Ppp = 0x0001;
inline constexpr DWORD RASFP_Slip = 0x0002;
inline constexpr DWORD RASFP_Ras = 0x0004;

// The bits under their platform names without the prefix. An entry description selects bits with
// these words (the two option bits that follow from the addresses are set whatever it says), and
// the stand-in service's phone book stores them the same way.
struct BitName {
  const char* name;
  DWORD bit;
};

inline constexpr BitName kOptionBitNames[] = {
    {"UseCountryAndAreaCodes", RASEO_UseCountryAndAreaCodes},
    {"SpecificIpAddr", RASEO_SpecificIpAddr},
    {"SpecificNameServers", RASEO_SpecificNameServers},
    {"IpHeaderCompression", RASEO_IpHeaderCompression},
    {"RemoteDefaultGateway", RASEO_RemoteDefaultGateway},
    {"DisableLcpExtensions", RASEO_DisableLcpExtensions},
    {"TerminalBeforeDial", RASEO_TerminalBeforeDial},
    {"TerminalAfterDial", RASEO_TerminalAfterDial},
    {"ModemLights", RASEO_ModemLights},
    {"SwCompression", RASEO_SwCompression},
    {"RequireEncryptedPw", RASEO_RequireEncryptedPw},
    {"RequireMsEncryptedPw", RASEO_RequireMsEncryptedPw},
    {"RequireDataEncryption", RASEO_RequireDataEncryption},
    {"NetworkLogon", RASEO_NetworkLogon},
    {"UseLogonCredentials", RASEO_UseLogonCredentials},
    {"PromoteAlternates", RASEO_PromoteAlternates},
};

// Protocol and framing words are written in capitals.
inline constexpr BitName kNetProtocolBitNames[] = {
    {"NETBEUI", RASNP_NetBEUI},
    {"IPX", RASNP_Ipx},
    {"IP", RASNP_Ip},
};

inline constexpr BitName kFramingBitNames[] = {
    {"PPP", RASFP_Ppp},
    {"SLIP", RASFP_Slip},
    {"RAS", RASFP_Ras},
};

static_assert(sizeof(DWORD) == 4);
static_assert(sizeof(RASIPADDR) == 4);
static_assert(offsetof(RASIPADDR, a) == 0 && offsetof(RASIPADDR, b) == 1);
static_assert(offsetof(RASIPADDR, c) == 2 && offsetof(RASIPADDR, d) == 3);

static_assert(sizeof(RASENTRYA) == kEntryRecordSize);
static_assert(offsetof(RASENTRYA, dwSize) == 0);
static_assert(offsetof(RASENTRYA, dwfOptions) == 4);
static_assert(offsetof(RASENTRYA, dwCountryID) == 8);
static_assert(offsetof(RASENTRYA, dwCountryCode) == 12);
static_assert(offsetof(RASENTRYA, szAreaCode) == 16);
static_assert(offsetof(RASENTRYA, szLocalPhoneNumber) == 27);
static_assert(offsetof(RASENTRYA, dwAlternateOffset) == 156);
static_assert(offsetof(RASENTRYA, ipaddr) == 160);
static_assert(offsetof(RASENTRYA, ipaddrDns) == 164);
static_assert(offsetof(RASENTRYA, ipaddrDnsAlt) == 168);
static_assert(offsetof(RASENTRYA, ipaddrWins) == 172);
static_assert(offsetof(RASENTRYA, ipaddrWinsAlt) == 176);
static_assert(offsetof(RASENTRYA, dwFrameSize) == 180);
static_assert(offsetof(RASENTRYA, dwfNetProtocols) == 184);
static_assert(offsetof(RASENTRYA, dwFramingProtocol) == 188);
static_assert(offsetof(RASENTRYA, szScript) == 192);
static_assert(offsetof(RASENTRYA, szAutodialDll) == 452);
static_assert(offsetof(RASENTRYA, szAutodialFunc) == 712);
static_assert(offsetof(RASENTRYA, szDeviceType) == 972);
static_assert(offsetof(RASENTRYA, szDeviceName) == 989);
static_assert(offsetof(RASENTRYA, szX25PadType) == 1118);
static_assert(offsetof(RASENTRYA, szX25Address) == 1151);
static_assert(offsetof(RASENTRYA, szX25Facilities) == 1352);
static_assert(offsetof(RASENTRYA, szX25UserData) == 1553);
static_assert(offsetof(RASENTRYA, dwChannels) == 1756);
static_assert(offsetof(RASENTRYA, dwReserved1) == 1760);
static_assert(offsetof(RASENTRYA, dwReserved2) == 1764);
