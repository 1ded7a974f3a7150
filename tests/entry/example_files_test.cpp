// The example entry description files that come with the tool, read as a user's run reads them.
// The build copies them into examples/ beside the test program.
#include <gtest/gtest.h>

#include <filesystem>
#include <string>

#include "entry/entry_reader.h"
#include "platform/file_system.h"

namespace {

std::string ExamplePath(const char* name) {
  char executable[1024];
  EXPECT_TRUE(GetExecutablePath(executable, sizeof executable));
  return (std::filesystem::path(executable).parent_path() / "examples" / name).string();
}

TEST(ExampleFiles, DialUpOnlyFileDescribesOneEntry) {
  const std::string path = ExamplePath("dialup.ini");
  RASENTRYA entry;
  ASSERT_EQ(ReadEntryDescription(&entry, path.c_str(), nullptr), 1) << path;
  EXPECT_STREQ(entry.szAreaCode, "212");
  EXPECT_STREQ(entry.szLocalPhoneNumber, "5550142");
  EXPECT_EQ(entry.dwfOptions, RASEO_UseCountryAndAreaCodes | RASEO_IpHeaderCompression |
                                  RASEO_SwCompression | RASEO_RemoteDefaultGateway |
                                  RASEO_ModemLights);
  EXPECT_EQ(entry.dwfNetProtocols, RASNP_Ip);
  EXPECT_EQ(entry.dwFramingProtocol, RASFP_Ppp);

  EXPECT_EQ(ReadEntryDescription(&entry, path.c_str(), "VPNEntry"), 0);
}

TEST(ExampleFiles, DialUpAndVpnFileDescribesTwoEntries) {
  const std::string path = ExamplePath("dialup-vpn.ini");
  RASENTRYA entry;
  ASSERT_EQ(ReadEntryDescription(&entry, path.c_str(), nullptr), 1) << path;
  EXPECT_STREQ(entry.szLocalPhoneNumber, "5550187");
  EXPECT_EQ(entry.dwfOptions, RASEO_IpHeaderCompression | RASEO_SwCompression |
                                  RASEO_RemoteDefaultGateway | RASEO_ModemLights |
                                  RASEO_SpecificNameServers);

  ASSERT_EQ(ReadEntryDescription(&entry, path.c_str(), "VPNEntry"), 1);
  EXPECT_STREQ(entry.szLocalPhoneNumber, "vpn.example.com");
  EXPECT_EQ(entry.dwfOptions, RASEO_RequireEncryptedPw | RASEO_RequireMsEncryptedPw |
                                  RASEO_RequireDataEncryption | RASEO_NetworkLogon |
                                  RASEO_RemoteDefaultGateway | RASEO_SpecificNameServers);
  EXPECT_EQ(entry.ipaddrWins.d, 11);
  EXPECT_EQ(entry.dwfNetProtocols, RASNP_Ip);
  EXPECT_EQ(entry.dwFramingProtocol, RASFP_Ppp);
}

}  // namespace
