// Windows XP's entry record against the platform's own header, offset by offset and width by
// width, with the values of its strategies, encryption types and pre-shared key bit: the layouts
// after it extend it, and the static_asserts of entry_layouts.h fix their own offsets.
#include "entry/entry_layouts.h"

#include <gtest/gtest.h>

#include <cstddef>
#include <string_view>

#include "platform_entry_offsets.h"

namespace {

#define DIALKIT_OURS(member) \
  { #member, offsetof(LongEntryRecord, member), sizeof(LongEntryRecord::member) }
#define DIALKIT_BASE(member) \
  { #member, offsetof(RASENTRYA, member), sizeof(RASENTRYA::member) }

constexpr PlatformOffset kOurs[] = {
    DIALKIT_BASE(dwfOptions),
    DIALKIT_BASE(szLocalPhoneNumber),
    DIALKIT_BASE(dwAlternateOffset),
    DIALKIT_BASE(szScript),
    DIALKIT_BASE(szX25UserData),
    DIALKIT_BASE(dwReserved2),
    DIALKIT_OURS(dwSubEntries),
    DIALKIT_OURS(dwDialMode),
    DIALKIT_OURS(dwDialExtraPercent),
    DIALKIT_OURS(dwDialExtraSampleSeconds),
    DIALKIT_OURS(dwHangUpExtraPercent),
    DIALKIT_OURS(dwHangUpExtraSampleSeconds),
    DIALKIT_OURS(dwIdleDisconnectSeconds),
    DIALKIT_OURS(dwType),
    DIALKIT_OURS(dwEncryptionType),
    DIALKIT_OURS(dwCustomAuthKey),
    DIALKIT_OURS(guidId),
    DIALKIT_OURS(szCustomDialDll),
    DIALKIT_OURS(dwVpnStrategy),
    DIALKIT_OURS(dwfOptions2),
    DIALKIT_OURS(dwfOptions3),
    DIALKIT_OURS(szDnsSuffix),
    DIALKIT_OURS(dwTcpWindowSize),
    DIALKIT_OURS(szPrerequisitePbk),
    DIALKIT_OURS(szPrerequisiteEntry),
    DIALKIT_OURS(dwRedialCount),
    DIALKIT_OURS(dwRedialPause),
};

TEST(EntryLayouts, WindowsXpsRecordIsThePlatformHeaders) {
  ASSERT_EQ(kPlatformEntryOffsetCount, std::size(kOurs));
  for (size_t i = 0; i < std::size(kOurs); ++i) {
    const PlatformOffset& platform = kPlatformEntryOffsets[i];
    EXPECT_EQ(std::string_view(platform.member), kOurs[i].member);
    EXPECT_EQ(platform.offset, kOurs[i].offset) << platform.member;
    EXPECT_EQ(platform.width, kOurs[i].width) << platform.member;
  }
  EXPECT_EQ(kPlatformEntrySize, offsetof(LongEntryRecord, ipv6addrDns));
  EXPECT_EQ(kPlatformPreSharedKeyBit, RASEO2_UsePreSharedKey);
  for (size_t i = 0; i < 5; ++i) {
    EXPECT_EQ(kPlatformStrategies[i], kVpnStrategyNames[i].bit) << kVpnStrategyNames[i].name;
  }
  for (size_t i = 0; i < 4; ++i) {
    EXPECT_EQ(kPlatformEncryptions[i], kEncryptionTypeNames[i].bit);
  }
}

}  // namespace
