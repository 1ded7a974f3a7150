// The entry description reader against real files, through the profile component: the POSIX one
// on the host, the platform's own functions under Windows. Results are checked in the record's
// bytes at the offsets the Remote Access Service reads, not only through the declaration.
#include "entry/entry_reader.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <array>
#include <cstdio>
#include <cstring>
#include <string>
#include <string_view>

#include "support/test_files.h"

namespace {

using RecordBytes = std::array<unsigned char, kEntryRecordSize>;

// A record's bytes, built field by field at the service's offsets.
struct Image {
  Image& Dword(size_t offset, uint32_t value) {
    for (size_t i = 0; i < 4; ++i) {
      bytes[offset + i] = static_cast<unsigned char>(value >> (8 * i));
    }
    return *this;
  }
  Image& Text(size_t offset, std::string_view text) {
    std::copy(text.begin(), text.end(), &bytes[offset]);
    return *this;
  }
  Image& Address(size_t offset, std::array<unsigned char, 4> parts) {
    std::copy(parts.begin(), parts.end(), &bytes[offset]);
    return *this;
  }

  RecordBytes bytes{};
};

Image Defaults() {
  Image image;
  image.Dword(4, 0x2318).Dword(8, 1).Dword(12, 1).Dword(184, 0x0004).Dword(188, 0x0001);
  image.Text(16, kDefaultAreaCode).Text(27, kDefaultLocalPhoneNumber);
  return image;
}

class EntryReaderTest : public ::testing::Test {
 protected:
  // Writes the file (none for a null text) and reads `section` of it into a record that starts
  // out full of stale bytes, as a reused record would.
  int Read(const char* fileText, const char* section) {
    std::remove(path_.c_str());
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

  // The offset of the first byte that differs from `expected`; the record's size when none does.
  size_t FirstDifference(const Image& expected) const {
    return std::mismatch(bytes_.begin(), bytes_.end(), expected.bytes.begin()).first -
           bytes_.begin();
  }

  test::ScopedTempDirectory directory_;
  std::string path_ = directory_.File("entry.ini");
  RecordBytes bytes_;
};

// The main entry needs no section; a named one must hold a line.
TEST_F(EntryReaderTest, SectionTestDecidesBetweenDefaultsAndNothing) {
  const struct {
    const char* file;
    const char* section;
    int result;
    Image expected;
  } cases[] = {
      {nullptr, nullptr, 1, Defaults()},
      {"", nullptr, 1, Defaults()},
      {"[VPNEntry]\nCountryID=44\n", nullptr, 1, Defaults()},
      {"[RasEntry]\n; a comment line only\n\n[Other]\nCountryID=44\n", nullptr, 1, Defaults()},
      {nullptr, "VPNEntry", 0, {}},
      {"[RasEntry]\nCountryCode=44\n", "VPNEntry", 0, {}},
      {"[VPNEntry]\n", "VPNEntry", 0, {}},
      {"[VPNEntry]\n;c=1\n[RasEntry]\nCountryCode=44\n", "VPNEntry", 0, {}},
      {"[VPNEntry]\nCountryCode=44\n", "RasEntry", 0, {}},  // the test applies to any name
      {"[VPNEntry]\nCountryCode=44\n", "VPNEntry", 1, Defaults().Dword(12, 44)},
      {"[VPNEntry]\nOptions=\n", "VPNEntry", 1, Defaults().Dword(4, 0)},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(testing::Message()
                 << (c.file != nullptr ? c.file : "(no file)") << " / " << c.section);
    EXPECT_EQ(Read(c.file, c.section), c.result);
    EXPECT_EQ(FirstDifference(c.expected), kEntryRecordSize);
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
  Image expected;
  expected.Dword(4, 0xDCE7).Dword(8, 44).Dword(12, 49).Text(16, "0171").Text(27, "555 0123");
  expected.Dword(156, 12).Address(160, {10, 1, 2, 3}).Address(164, {192, 168, 0, 1});
  expected.Address(168, {192, 168, 0, 2}).Address(172, {172, 16, 5, 6});
  expected.Address(176, {172, 16, 5, 7}).Dword(180, 1006).Dword(184, 0x7).Dword(188, 0x2);
  expected.Text(192, "C:\\scripts\\logon.scp").Text(452, "autodial.dll");
  expected.Text(712, "AutoDialEntry").Text(1118, "pad1").Text(1151, "31342");
  expected.Text(1352, "R").Text(1553, "user data");
  expected.Dword(1756, 2).Dword(1760, 7).Dword(1764, 9);
  EXPECT_EQ(FirstDifference(expected), kEntryRecordSize);
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
      {"Options", "RequireMsEncryptedPw", 0x0800},
      {"Options", "networklogon", 0},
      {"Options", "SpecificIpAddr SpecificNameServers", 0},  // these follow the addresses only
      {"Options", std::string(204, 'x') + "ModemLights", 0x0100},  // ends at character 215
      {"Options", std::string(205, 'x') + "ModemLights", 0},       // runs past it
      {"NetProtocols", "", 0},
      {"NetProtocols", "IPX", 0x0006},
      {"NetProtocols", "NETBEUI TCP/IP", 0x0005},
      {"NetProtocols", "ip NetBEUI", 0},
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
    EXPECT_EQ(FirstDifference(Defaults().Dword(offset, c.bits)), kEntryRecordSize);
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
    EXPECT_EQ(FirstDifference(Defaults().Dword(4, c.options).Address(c.offset, c.parts)),
              kEntryRecordSize);
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
      EXPECT_EQ(FirstDifference(Defaults().Text(field.offset, digits.substr(0, field.width - 1))),
                kEntryRecordSize);
    }
  }
}

}  // namespace
