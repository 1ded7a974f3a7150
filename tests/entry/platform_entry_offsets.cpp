// The offsets of the entry record as the platform's own header (MinGW-w64's ras.h, Windows XP's
// layout) declares them, in a file of their own: that header and the tool's declarations cannot
// meet in one translation unit.
#include <windows.h>
// After windows.h, which ras.h needs.
#include <ras.h>

#include <cstddef>

#include "platform_entry_offsets.h"

// The header spells the record's name as a macro, "struct tagRASENTRYA".
using PlatformEntry = RASENTRYA;

#define DIALKIT_OFFSET(member) \
  { #member, offsetof(PlatformEntry, member), sizeof(PlatformEntry::member) }

const PlatformOffset kPlatformEntryOffsets[] = {
    DIALKIT_OFFSET(dwfOptions),
    DIALKIT_OFFSET(szLocalPhoneNumber),
    DIALKIT_OFFSET(dwAlternateOffset),
    DIALKIT_OFFSET(szScript),
    DIALKIT_OFFSET(szX25UserData),
    DIALKIT_OFFSET(dwReserved2),
    DIALKIT_OFFSET(dwSubEntries),
    DIALKIT_OFFSET(dwDialMode),
    DIALKIT_OFFSET(dwDialExtraPercent),
    DIALKIT_OFFSET(dwDialExtraSampleSeconds),
    DIALKIT_OFFSET(dwHangUpExtraPercent),
    DIALKIT_OFFSET(dwHangUpExtraSampleSeconds),
    DIALKIT_OFFSET(dwIdleDisconnectSeconds),
    DIALKIT_OFFSET(dwType),
    DIALKIT_OFFSET(dwEncryptionType),
    DIALKIT_OFFSET(dwCustomAuthKey),
    DIALKIT_OFFSET(guidId),
    DIALKIT_OFFSET(szCustomDialDll),
    DIALKIT_OFFSET(dwVpnStrategy),
    DIALKIT_OFFSET(dwfOptions2),
    DIALKIT_OFFSET(dwfOptions3),
    DIALKIT_OFFSET(szDnsSuffix),
    DIALKIT_OFFSET(dwTcpWindowSize),
    DIALKIT_OFFSET(szPrerequisitePbk),
    DIALKIT_OFFSET(szPrerequisiteEntry),
    DIALKIT_OFFSET(dwRedialCount),
    DIALKIT_OFFSET(dwRedialPause),
};
const size_t kPlatformEntryOffsetCount =
    sizeof kPlatformEntryOffsets / sizeof *kPlatformEntryOffsets;
const size_t kPlatformEntrySize = sizeof(RASENTRYA);
const unsigned long kPlatformPreSharedKeyBit = RASEO2_UsePreSharedKey;
const unsigned long kPlatformStrategies[] = {VS_Default, VS_PptpOnly, VS_PptpFirst, VS_L2tpOnly,
                                             VS_L2tpFirst};
const unsigned long kPlatformEncryptions[] = {ET_None, ET_Require, ET_RequireMax, ET_Optional};
