// The longer entry records that later Windows versions take. Each version kept the record of the
// one before and added fields at its end, and the service takes only the sizes it knows (632 for
// any other), so the 1768-byte RASENTRYA is the first part of every one: LongEntryRecord holds the
// longest the tool knows, and each layout is its part up to the layout's size.
//
// The fields through Windows XP's are those of MinGW-w64's ras.h, which a test compares offset by
// offset. Vista's and 7's follow the platform's documentation of the entry record (the first
// Windows of each member) and the Win32 metadata from which the `windows` crates are generated.
#pragma once

#include <cstddef>
#include <cstdint>

#include "entry/entry_record.h"

// An IPv6 address, its sixteen bytes in network order.
struct RASIPV6ADDR {
  BYTE bytes[16];
};

struct EntryGuid {
  DWORD data1;
  uint16_t data2;
  uint16_t data3;
  BYTE data4[8];
};

struct LongEntryRecord {
  RASENTRYA base;
  // Windows 2000 (its first seven fields came with NT 4.0, which the tool does not address apart)
  DWORD dwSubEntries;
  DWORD dwDialMode;
  DWORD dwDialExtraPercent;
  DWORD dwDialExtraSampleSeconds;
  DWORD dwHangUpExtraPercent;
  DWORD dwHangUpExtraSampleSeconds;
  DWORD dwIdleDisconnectSeconds;
  DWORD dwType;
  DWORD dwEncryptionType;
  DWORD dwCustomAuthKey;
  EntryGuid guidId;
  char szCustomDialDll[260];
  DWORD dwVpnStrategy;
  // Windows XP
  DWORD dwfOptions2;
  DWORD dwfOptions3;
  char szDnsSuffix[256];
  DWORD dwTcpWindowSize;
  char szPrerequisitePbk[260];
  char szPrerequisiteEntry[257];
  // Three bytes of padding lie here, before the next DWORD.
  DWORD dwRedialCount;
  DWORD dwRedialPause;
  // Windows Vista
  RASIPV6ADDR ipv6addrDns;
  RASIPV6ADDR ipv6addrDnsAlt;
  DWORD dwIPv4InterfaceMetric;
  DWORD dwIPv6InterfaceMetric;
  // Windows 7
  RASIPV6ADDR ipv6addr;
  DWORD dwIPv6PrefixLength;
  DWORD dwNetworkOutageTime;
};

// A layout: the Windows that first took it and its size. Longest first, as a store tries them.
struct EntryLayout {
  const char* windows;
  DWORD size;
};

inline constexpr EntryLayout kEntryLayouts[] = {
    {"Windows 7", sizeof(LongEntryRecord)},
    {"Windows Vista", offsetof(LongEntryRecord, ipv6addr)},
    {"Windows XP", offsetof(LongEntryRecord, ipv6addrDns)},
    {"Windows 2000", offsetof(LongEntryRecord, dwfOptions2)},
    {"Windows 95", kEntryRecordSize},
};

// The layout of the first Windows whose record holds the field of `width` bytes at `offset`: the
// shortest one that reaches the field's end.
constexpr const EntryLayout& FirstLayoutHolding(size_t offset, size_t width) {
  const EntryLayout* holding = &kEntryLayouts[0];
  for (const EntryLayout& layout : kEntryLayouts) {
    if (offset + width <= layout.size) {
      holding = &layout;
    }
  }
  return *holding;
}

// Kinds of entry, dwType.
inline constexpr DWORD RASET_Phone = 1;
inline constexpr DWORD RASET_Vpn = 2;

// Encryption requirements, dwEncryptionType.
inline constexpr DWORD ET_None = 0;
inline constexpr DWORD ET_Require = 1;
inline constexpr DWORD ET_RequireMax = 2;
inline constexpr DWORD ET_Optional = 3;

// Tunnel strategies, dwVpnStrategy: which tunnel a VPN entry tries, alone or first.
inline constexpr DWORD VS_Default = 0;
inline constexpr DWORD VS_PptpOnly = 1;
inline constexpr DWORD VS_PptpFirst = 2;
inline constexpr DWORD VS_L2tpOnly = 3;
inline constexpr DWORD VS_L2tpFirst = 4;
inline constexpr DWORD VS_SstpOnly = 5;
inline constexpr DWORD VS_SstpFirst = 6;
inline constexpr DWORD VS_Ikev2Only = 7;
inline constexpr DWORD VS_Ikev2First = 8;

// Option bits of dwfOptions2: the pre-shared key of L2TP (Windows XP) and of IKEv2 (Windows 8).
inline constexpr DWORD RASEO2_UsePreSharedKey = 0x00000010;
inline constexpr DWORD RASEO2_UsePreSharedKeyForIkev2Initiator = 0x00800000;

inline constexpr BitName kVpnStrategyNames[] = {
    {"Default", VS_Default},     {"PptpOnly", VS_PptpOnly},   {"PptpFirst", VS_PptpFirst},
    {"L2tpOnly", VS_L2tpOnly},   {"L2tpFirst", VS_L2tpFirst}, {"SstpOnly", VS_SstpOnly},
    {"SstpFirst", VS_SstpFirst}, {"Ikev2Only", VS_Ikev2Only}, {"Ikev2First", VS_Ikev2First},
};

inline constexpr BitName kEncryptionTypeNames[] = {
    {"None", ET_None},
    {"Require", ET_Require},
    {"RequireMax", ET_RequireMax},
    {"Optional", ET_Optional},
};

// The bits of dwfOptions2 the tool names. The first is the one the flag key UsePreSharedKey
// stands for in the file; an IKEv2 strategy moves it to the second when the record is stored.
inline constexpr BitName kPreSharedKeyBits[] = {
    {"UsePreSharedKey", RASEO2_UsePreSharedKey},
    {"UsePreSharedKeyForIkev2Initiator", RASEO2_UsePreSharedKeyForIkev2Initiator},
};

static_assert(sizeof(RASIPV6ADDR) == 16 && sizeof(EntryGuid) == 16);
static_assert(offsetof(LongEntryRecord, base) == 0);
static_assert(offsetof(LongEntryRecord, dwSubEntries) == 1768);
static_assert(offsetof(LongEntryRecord, dwDialMode) == 1772);
static_assert(offsetof(LongEntryRecord, dwDialExtraPercent) == 1776);
static_assert(offsetof(LongEntryRecord, dwDialExtraSampleSeconds) == 1780);
static_assert(offsetof(LongEntryRecord, dwHangUpExtraPercent) == 1784);
static_assert(offsetof(LongEntryRecord, dwHangUpExtraSampleSeconds) == 1788);
static_assert(offsetof(LongEntryRecord, dwIdleDisconnectSeconds) == 1792);
static_assert(offsetof(LongEntryRecord, dwType) == 1796);
static_assert(offsetof(LongEntryRecord, dwEncryptionType) == 1800);
static_assert(offsetof(LongEntryRecord, dwCustomAuthKey) == 1804);
static_assert(offsetof(LongEntryRecord, guidId) == 1808);
static_assert(offsetof(LongEntryRecord, szCustomDialDll) == 1824);
static_assert(offsetof(LongEntryRecord, dwVpnStrategy) == 2084);
static_assert(offsetof(LongEntryRecord, dwfOptions2) == 2088);
static_assert(offsetof(LongEntryRecord, dwfOptions3) == 2092);
static_assert(offsetof(LongEntryRecord, szDnsSuffix) == 2096);
static_assert(offsetof(LongEntryRecord, dwTcpWindowSize) == 2352);
static_assert(offsetof(LongEntryRecord, szPrerequisitePbk) == 2356);
static_assert(offsetof(LongEntryRecord, szPrerequisiteEntry) == 2616);
static_assert(offsetof(LongEntryRecord, dwRedialCount) == 2876);
static_assert(offsetof(LongEntryRecord, dwRedialPause) == 2880);
static_assert(offsetof(LongEntryRecord, ipv6addrDns) == 2884);
static_assert(offsetof(LongEntryRecord, ipv6addrDnsAlt) == 2900);
static_assert(offsetof(LongEntryRecord, dwIPv4InterfaceMetric) == 2916);
static_assert(offsetof(LongEntryRecord, dwIPv6InterfaceMetric) == 2920);
static_assert(offsetof(LongEntryRecord, ipv6addr) == 2924);
static_assert(offsetof(LongEntryRecord, dwIPv6PrefixLength) == 2940);
static_assert(offsetof(LongEntryRecord, dwNetworkOutageTime) == 2944);
static_assert(sizeof(LongEntryRecord) == 2948);
