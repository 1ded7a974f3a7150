// The entry description reader against real files, through the profile component: the POSIX one
// on the host, the platform's own functions under Windows. Results are checked in the record's
// bytes at the offsets the Remote Access Service reads, not only through the declaration.
#include "entry/entry_reader.h"

#include <gtest/gtest.h>

#include <array>
#include <cstdio>
#include <cstring>
#include <string>

#include "support/test_files.h"

namespace {

using RecordBytes = std::array<unsigned char, kEntryRecordSize>;

// The record's fields by offset and width; together they cover all 1768 bytes.
const struct Field {
  const char* name;
  size_t offset;
  size_t width;
} kFields[] = {
    {"dwSize", 0, 4},
    {"dwfOptions", 4, 4},
    {"dwCountryID", 8, 4},
    {"dwCountryCode", 12, 4},
    {"szAreaCode", 16, 11},
    {"szLocalPhoneNumber", 27, 129},
    {"dwAlternateOffset", 156, 4},
    {"ipaddr", 160, 4},
    {"ipaddrDns", 164, 4},
    {"ipaddrDnsAlt", 168, 4},
    {"ipaddrWins", 172, 4},
    {"ipaddrWinsAlt", 176, 4},
    {"dwFrameSize", 180, 4},
    {"dwfNetProtocols", 184, 4},
    {"dwFramingProtocol", 188, 4},
    {"szScript", 192, 260},
    {"szAutodialDll", 452, 260},
    {"szAutodialFunc", 712, 260},
    {"szDeviceType", 972, 17},
    {"szDeviceName", 989, 129},
    {"szX25PadType", 1118, 33},
    {"szX25Address", 1151, 201},
    {"szX25Facilities", 1352, 201},
    {"szX25UserData", 1553, 201},
    {"padding", 1754, 2},
    {"dwChannels", 1756, 4},
    {"dwReserved1", 1760, 4},
    {"dwReserved2", 1764, 4},
};

void PutDword(RecordBytes& image, size_t offset, uint32_t value) {
  for (size_t i = 0; i < 4; ++i) {
    image[offset + i] = static_cast<unsigned char>(value >> (8 * i));
  }
}

void PutText(RecordBytes& image, size_t offset, const std::string& text) {
  std::memcpy(&image[offset], text.data(), text.size());
}

void PutAddress(RecordBytes& image, size_t offset, std::array<unsigned char, 4> parts) {
  std::memcpy(&image[offset], parts.data(), 4);
}

uint32_t DwordAt(const RecordBytes& image, size_t offset) {
  uint32_t value = 0;
  for (size_t i = 0; i < 4; ++i) {
    value |= static_cast<uint32_t>(image[offset + i]) << (8 * i);
  }
  return value;
}

std::string Slice(const RecordBytes& image, size_t offset, size_t width) {
  return std::string(reinterpret_cast<const char*>(&image[offset]), width);
}

RecordBytes Defaults() {
  RecordBytes image{};
  PutDword(image, 4, 0x2318);
  PutDword(image, 8, 1);
  PutDword(image, 12, 1);
  PutText(image, 16, kDefaultAreaCode);
  PutText(image, 27, kDefaultLocalPhoneNumber);
  PutDword(image, 184, 0x0004);
  PutDword(image, 188, 0x0001);
  return image;
}

void ExpectSameFields(const RecordBytes& actual, const RecordBytes& expected) {
  for (const Field& field : kFields) {
    SCOPED_TRACE(field.name);
    EXPECT_EQ(Slice(actual, field.offset, field.width), Slice(expected, field.offset, field.width));
  }
}

class EntryReaderTest : public ::testing::Test {
 protected:
  // Writes the file (none for a null text) and reads `section` of it into a record that starts
  // out full of stale bytes, as a reused record would.
  int Read(const char* fileText, const char* section) {
    if (fileText != nullptr) {
      test::WriteFileBytes(path_, fileText);
    }
    RASENTRYA entry;
    std::memset(&entry, 0xA5, sizeof entry);
    const int result = ReadEntryDescription(&entry, path_.c_str(), section);
    std::memcpy(bytes_.data(), &entry, sizeof entry);
    return result;
  }

  int ReadKey(const std::string& key, const std::string& value) {
    return Read(("[RasEntry]\n" + key + "=" + value + "\n").c_str(), nullptr);
  }

  test::ScopedTempDirectory directory_;
  std::string path_ = directory_.File("entry.ini");
  RecordBytes bytes_;
};

TEST_F(EntryReaderTest, MainEntryWithoutKeysGetsDefaults) {
  ASSERT_EQ(std::strlen(kDefaultAreaCode), 3u);
  ASSERT_EQ(std::strlen(kDefaultLocalPhoneNumber), 7u);
  const char* files[] = {
      nullptr,  // no file at all
      "",
      "[VPNEntry]\nCountryID=44\n",
      "[RasEntry]\n",
      "[RasEntry]\n; a comment line only\n\n[Other]\nCountryID=44\n",
  };
  for (const char* file : files) {
    SCOPED_TRACE(file != nullptr ? file : "(no file)");
    EXPECT_EQ(Read(file, nullptr), 1);
    ExpectSameFields(bytes_, Defaults());
  }
}

TEST_F(EntryReaderTest, NamedSectionMustHoldALine) {
  RecordBytes countryCode = Defaults();
  PutDword(countryCode, 12, 44);
  RecordBytes noOptions = Defaults();
  PutDword(noOptions, 4, 0);
  const struct {
    const char* file;
    const char* section;
    int result;
    RecordBytes expected;
  } cases[] = {
      {nullptr, "VPNEntry", 0, {}},
      {"[RasEntry]\nCountryCode=44\n", "VPNEntry", 0, {}},
      {"[VPNEntry]\n", "VPNEntry", 0, {}},
      {"[VPNEntry]\n[RasEntry]\nCountryCode=44\n", "VPNEntry", 0, {}},
      {"[VPNEntry]\nCountryCode=44\n", "RasEntry", 0, {}},  // the test applies to any name
      {"[VPNEntry]\nCountryCode=44\n", "VPNEntry", 1, countryCode},
      {"[RasEntry]\nCountryCode=44\n", "RasEntry", 1, countryCode},
      {"[VPNEntry]\nOptions=\n", "VPNEntry", 1, noOptions},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(testing::Message()
                 << (c.file != nullptr ? c.file : "(no file)") << " / " << c.section);
    std::remove(path_.c_str());
    EXPECT_EQ(Read(c.file, c.section), c.result);
    ExpectSameFields(bytes_, c.expected);
  }
}

TEST_F(EntryReaderTest, EveryKeyLandsInItsField) {
  ASSERT_EQ(Read("[RasEntry]\n"
                 // All keywords but the default ones, which would not fit in 215 characters.
                 "Options=UseCountryAndAreaCodes,DisableLcpExtensions,TerminalBeforeDial,"
                 "TerminalAfterDial,RequireEncryptedPw,RequireMsEncryptedPw,"
                 "RequireDataEncryption,UseLogonCredentials,PromoteAlternates\n"
                 "CountryID=44\nCountryCode=49\nAreaCode=0171\nLocalPhoneNumber=555 0123\n"
                 "AlternatesOffset=12\n"
                 "ipaddr=10.1.2.3\nipaddrDns=192.168.0.1\nipaddrDnsAlt=192.168.0.2\n"
                 "ipaddrWins=172.16.5.6\nipaddrWinsAlt=172.16.5.7\n"
                 "FrameSize=1006\nNetProtocols=NETBEUI IPX\nFramingProtocol=SLIP\n"
                 "Script=C:\\scripts\\logon.scp\nAutodialDll=autodial.dll\n"
                 "AutodialFunc=AutoDialEntry\nX25PadType=pad1\nX25Address=31342\n"
                 "X25Facilities=R\nX25UserData=user data\n"
                 "Channels=2\nReserved1=7\nReserved2=9\n",
                 nullptr),
            1);
  RecordBytes expected{};
  PutDword(expected, 4, 0xDCE7);
  PutDword(expected, 8, 44);
  PutDword(expected, 12, 49);
  PutText(expected, 16, "0171");
  PutText(expected, 27, "555 0123");
  PutDword(expected, 156, 12);
  PutAddress(expected, 160, {10, 1, 2, 3});
  PutAddress(expected, 164, {192, 168, 0, 1});
  PutAddress(expected, 168, {192, 168, 0, 2});
  PutAddress(expected, 172, {172, 16, 5, 6});
  PutAddress(expected, 176, {172, 16, 5, 7});
  PutDword(expected, 180, 1006);
  PutDword(expected, 184, 0x0007);
  PutDword(expected, 188, 0x0002);
  PutText(expected, 192, "C:\\scripts\\logon.scp");
  PutText(expected, 452, "autodial.dll");
  PutText(expected, 712, "AutoDialEntry");
  PutText(expected, 1118, "pad1");
  PutText(expected, 1151, "31342");
  PutText(expected, 1352, "R");
  PutText(expected, 1553, "user data");
  PutDword(expected, 1756, 2);
  PutDword(expected, 1760, 7);
  PutDword(expected, 1764, 9);
  ExpectSameFields(bytes_, expected);
}

TEST_F(EntryReaderTest, KeywordListsSetTheBitsOfKeywordsFoundAnywhere) {
  const struct {
    const char* key;
    std::string value;
    uint32_t bits;
  } cases[] = {
      {"Options", "", 0},  // present but empty: not the default
      {"Options", "NetworkLogon,ModemLights", 0x2100},
      {"Options", "ModemLightsSwCompression", 0x0300},
      {"Options", "NoNetworkLogonPlease", 0x2000},
      {"Options", "ModemLights ModemLights", 0x0100},
      {"Options", "RequireMsEncryptedPw", 0x0800},
      {"Options", "networklogon", 0},
      {"Options", "Modem Lights", 0},
      {"Options", "SpecificIpAddr SpecificNameServers", 0},  // these follow the addresses only
      {"Options", std::string(204, 'x') + "ModemLights", 0x0100},  // ends at character 215
      {"Options", std::string(205, 'x') + "ModemLights", 0},       // runs past it
      {"NetProtocols", "", 0},
      {"NetProtocols", "NETBEUI", 0x0001},
      {"NetProtocols", "IPX", 0x0006},
      {"NetProtocols", "NETBEUI IPX", 0x0007},
      {"NetProtocols", "TCP/IP", 0x0004},
      {"NetProtocols", "ip NetBEUI", 0},
      {"NetProtocols", std::string(213, 'x') + "IP", 0x0004},
      {"NetProtocols", std::string(214, 'x') + "IP", 0},
      {"FramingProtocol", "", 0},
      {"FramingProtocol", "PPP SLIP", 0x0003},
      {"FramingProtocol", "CSLIP", 0x0002},
      {"FramingProtocol", "RAS", 0x0004},
      {"FramingProtocol", "ppp", 0},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(testing::Message() << c.key << "=" << c.value);
    ASSERT_EQ(ReadKey(c.key, c.value), 1);
    const size_t offset = std::strcmp(c.key, "Options") == 0        ? 4
                          : std::strcmp(c.key, "NetProtocols") == 0 ? 184
                                                                    : 188;
    EXPECT_EQ(DwordAt(bytes_, offset), c.bits);
  }
}

TEST_F(EntryReaderTest, AddressesAndTheOptionBitsTheyDecide) {
  const struct {
    const char* key;
    size_t offset;
    std::string value;
    std::array<unsigned char, 4> parts;
    uint32_t options;
  } cases[] = {
      {"ipaddr", 160, "192.168.1.300", {192, 168, 1, 0}, 0x0002},
      {"ipaddr", 160, "10.1", {10, 1, 0, 0}, 0x0002},
      {"ipaddr", 160, "1.2.3.4.5", {1, 2, 3, 4}, 0x0002},
      {"ipaddr", 160, "0.0.0.0", {0, 0, 0, 0}, 0},
      {"ipaddr", 160, "", {0, 0, 0, 0}, 0},
      {"ipaddr", 160, "300.256.-1.x", {0, 0, 0, 0}, 0},
      {"ipaddr", 160, std::string(212, '.') + "9.8.7.6", {9, 8, 0, 0}, 0x0002},  // 215 kept
      {"ipaddrDns", 164, "10.0.0.1", {10, 0, 0, 1}, 0x0004},
      {"ipaddrDnsAlt", 168, "0.0.0.9", {0, 0, 0, 9}, 0x0004},
      {"ipaddrWins", 172, "172.16.0.1", {172, 16, 0, 1}, 0x0004},
      {"ipaddrWinsAlt", 176, "1.0.0.0", {1, 0, 0, 0}, 0x0004},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(testing::Message() << c.key << "=" << c.value);
    // Options spells the two bits, which must change nothing.
    const std::string file = "[RasEntry]\nOptions=SpecificIpAddr,SpecificNameServers\n" +
                             std::string(c.key) + "=" + c.value + "\n";
    ASSERT_EQ(Read(file.c_str(), nullptr), 1);
    RecordBytes expected{};
    PutAddress(expected, c.offset, c.parts);
    for (size_t offset = 160; offset < 180; offset += 4) {
      EXPECT_EQ(Slice(bytes_, offset, 4), Slice(expected, offset, 4)) << "at " << offset;
    }
    EXPECT_EQ(DwordAt(bytes_, 4), c.options);
  }
}

TEST_F(EntryReaderTest, TextValuesAreCutToTheirFields) {
  const struct {
    const char* key;
    size_t offset;
    size_t width;
  } fields[] = {
      {"AreaCode", 16, 11},      {"LocalPhoneNumber", 27, 129}, {"Script", 192, 260},
      {"AutodialDll", 452, 260}, {"AutodialFunc", 712, 260},    {"X25PadType", 1118, 33},
      {"X25Address", 1151, 201}, {"X25Facilities", 1352, 201},  {"X25UserData", 1553, 201},
  };
  std::string digits;
  while (digits.size() < 300) {
    digits += "0123456789";
  }
  for (const auto& field : fields) {
    for (const size_t length : {field.width - 1, field.width, field.width + 20}) {
      SCOPED_TRACE(testing::Message() << field.key << ", " << length << " characters");
      ASSERT_EQ(ReadKey(field.key, digits.substr(0, length)), 1);
      std::string expected = digits.substr(0, field.width - 1);
      expected.resize(field.width, '\0');
      EXPECT_EQ(Slice(bytes_, field.offset, field.width), expected);
    }
  }
}

}  // namespace
