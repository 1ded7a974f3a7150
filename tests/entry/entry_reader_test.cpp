// The entry description reader against real files, through the profile component: the POSIX one
// on the host, the platform's own functions under Windows. Records are checked whole, byte by
// byte, against images built at the offsets the Remote Access Service reads, not only through the
// declaration.
#include "entry/entry_reader.h"
#include "entry/later_keys.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <array>
#include <cstdio>
#include <cstring>
#include <optional>
#include <string>
#include <string_view>

#include "support/test_files.h"

namespace {

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

  std::array<unsigned char, kEntryRecordSize> bytes{};
};

constexpr uint32_t kDefaultOptions = 0x2318;

// The record of an entry whose keys are all left out, with `options` in place of the default's.
Image Defaults(uint32_t options = kDefaultOptions) {
  Image image;
  image.Dword(4, options).Dword(8, 1).Dword(12, 1).Dword(184, RASNP_Ip).Dword(188, RASFP_Ppp);
  image.Text(16, kDefaultAreaCode).Text(27, kDefaultLocalPhoneNumber);
  return image;
}

// The main entry needs no section; a named one must hold a line. Keywords count wherever they
// stand, case-sensitively, in the first 215 characters; a text is cut to its field. (The fuzz
// target checks that the address options follow the addresses and that IPX brings IP.)
TEST(EntryReader, ReadsEachKeyOfTheMainEntryOrOfASectionWithLines) {
  const std::string main = "[RasEntry]\n";
  // Every key lands in its field: all keywords but the default ones, which would not fit in 215
  // characters, and a value for each other key.
  const std::string everyKey =
      main +
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
      "Channels=2\nReserved1=7\nReserved2=9\n";
  Image inFields;
  inFields.Dword(4, 0xDCE7).Dword(8, 44).Dword(12, 49).Text(16, "0171").Text(27, "555 0123");
  inFields.Dword(156, 12).Address(160, {10, 1, 2, 3}).Address(164, {192, 168, 0, 1});
  inFields.Address(168, {192, 168, 0, 2}).Address(172, {172, 16, 5, 6});
  inFields.Address(176, {172, 16, 5, 7}).Dword(180, 1006).Dword(184, 0x7).Dword(188, 0x2);
  inFields.Text(192, "C:\\scripts\\logon.scp").Text(452, "autodial.dll");
  inFields.Text(712, "AutoDialEntry").Text(1118, "pad1").Text(1151, "31342");
  inFields.Text(1352, "R").Text(1553, "user data");
  inFields.Dword(1756, 2).Dword(1760, 7).Dword(1764, 9);
  const struct {
    std::optional<std::string> file;
    Image expected;
    const char* section = nullptr;
    int result = 1;
  } cases[] = {
      {std::nullopt, Defaults()},
      {everyKey, inFields},
      {"[RasEntry]\nCountryCode=44\n", {}, "VPNEntry", 0},
      {"[VPNEntry]\n;c=1\n[RasEntry]\nCountryCode=44\n", {}, "VPNEntry", 0},
      {"[VPNEntry]\nCountryCode=44\n", {}, "RasEntry", 0},  // the test applies to any name
      {"[VPNEntry]\nCountryCode=44\n", Defaults().Dword(12, 44), "VPNEntry"},
      {"[VPNEntry]\nOptions=\n", Defaults(0), "VPNEntry"},  // present but empty: no default
      {main + "Options=ModemLightsSwCompression", Defaults(0x0300)},
      {main + "Options=networklogon", Defaults(0)},
      {main + "Options=" + std::string(204, 'x') + "ModemLights", Defaults(0x0100)},  // ends at 215
      {main + "Options=" + std::string(205, 'x') + "ModemLights", Defaults(0)},  // runs past it
      {main + "FramingProtocol=RAS", Defaults().Dword(188, 0x0004)},
      {main + "ipaddr=" + std::string(212, '.') + "9.8.7.6",
       Defaults(kDefaultOptions | RASEO_SpecificIpAddr).Address(160, {9, 8, 0, 0})},
      {main + "AreaCode=0123456789AB", Defaults().Text(16, "0123456789")},  // cut to the field
  };
  const test::ScopedTempDirectory directory;
  const std::string path = directory.File("entry.ini");
  for (const auto& c : cases) {
    SCOPED_TRACE(testing::Message() << c.file.value_or("(no file)") << " / " << c.section);
    std::remove(path.c_str());
    if (c.file) {
      test::WriteFileBytes(path, *c.file);
    }
    // Read into a record full of stale bytes, as a reused record would be; the record's size is
    // where no byte differs from the image.
    RASENTRYA entry;
    std::memset(&entry, 0xA5, sizeof entry);
    EXPECT_EQ(ReadEntryDescription(&entry, path.c_str(), c.section), c.result);
    const auto* bytes = reinterpret_cast<const unsigned char*>(&entry);
    EXPECT_EQ(std::mismatch(bytes, bytes + sizeof entry, c.expected.bytes.begin()).first - bytes,
              kEntryRecordSize);
  }
}

// The later keys over a service's record: only those given are written, EncryptionType makes
// RequireDataEncryption agree, and UsePreSharedKey sets the bit of the strategy's tunnel, keeping
// the service's other bits.
TEST(LaterKeys, WriteOnlyWhatTheFileGivesOverTheServicesRecord) {
  constexpr DWORD kOtherBit = 0x100;
  const struct {
    const char* keys;
    DWORD optionsBefore, options2Before;
    DWORD optionsAfter, options2After, encryption;
  } rows[] = {
      {"", RASEO_RequireDataEncryption, kOtherBit, RASEO_RequireDataEncryption, kOtherBit, 0},
      {"EncryptionType=Require", 0, 0, RASEO_RequireDataEncryption, 0, ET_Require},
      {"EncryptionType=optional", RASEO_RequireDataEncryption, 0, 0, 0, ET_Optional},
      {"VpnStrategy=Ikev2First\nUsePreSharedKey=1", 0, kOtherBit, 0,
       kOtherBit | RASEO2_UsePreSharedKeyForIkev2Initiator, 0},
      {"VpnStrategy=L2tpOnly\nUsePreSharedKey=1", 0, RASEO2_UsePreSharedKeyForIkev2Initiator, 0,
       RASEO2_UsePreSharedKey, 0},
      {"UsePreSharedKey=0", 0, RASEO2_UsePreSharedKey | kOtherBit, 0, kOtherBit, 0},
  };
  const test::ScopedTempDirectory directory;
  const std::string path = (directory.path() / "vpn.ini").string();
  for (const auto& row : rows) {
    SCOPED_TRACE(row.keys);
    test::WriteFileBytes(path, std::string("[VPNEntry]\nLocalPhoneNumber=vpn\n") + row.keys + "\n");
    const CLaterKeys keys = ReadLaterEntryKeys(path.c_str(), "VPNEntry");
    EXPECT_EQ(keys.Any(), *row.keys != '\0');
    LongEntryRecord record = {};
    record.base.dwfOptions = row.optionsBefore;
    record.dwfOptions2 = row.options2Before;
    ApplyLaterKeys(keys, &record);
    EXPECT_EQ(record.base.dwfOptions, row.optionsAfter);
    EXPECT_EQ(record.dwfOptions2, row.options2After);
    EXPECT_EQ(record.dwEncryptionType, row.encryption);
  }
}

}  // namespace
