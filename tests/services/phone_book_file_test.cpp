// The stand-in service's file formats: the phone book both ways, and the device and failure
// files it reads.
#include "phone_book_file.h"

#include <gtest/gtest.h>

#include <cstring>

#include "framework/text.h"
#include "service_files.h"

namespace {

StoredEntry EntryNamed(const std::string& name) {
  StoredEntry entry{name, {}};
  entry.record.dwSize = kEntryRecordSize;
  return entry;
}

TEST(PhoneBookFile, EveryFieldIsWrittenReadablyAndReadBack) {
  StoredEntry entry = EntryNamed("My ISP");
  RASENTRYA& r = entry.record;
  r.dwfOptions = RASEO_NetworkLogon | RASEO_SpecificIpAddr | 0x00010000;
  r.dwCountryID = 49;
  r.dwCountryCode = 490;
  CopyText(r.szAreaCode, "0301234567");
  CopyText(r.szLocalPhoneNumber, "555 0100");
  r.dwAlternateOffset = 3;
  r.ipaddr = {10, 0, 0, 1};
  r.ipaddrDns = {192, 168, 1, 255};
  r.ipaddrDnsAlt = {1, 2, 3, 4};
  r.ipaddrWins = {5, 6, 7, 8};
  r.ipaddrWinsAlt = {9, 10, 11, 12};
  r.dwFrameSize = 1006;
  r.dwfNetProtocols = RASNP_Ip | RASNP_Ipx | 0x80;
  r.dwFramingProtocol = RASFP_Slip;
  CopyText(r.szScript, "C:\\scripts\\login.scp");
  CopyText(r.szAutodialDll, "auto.dll");
  CopyText(r.szAutodialFunc, "AutoDial");
  CopyText(r.szDeviceType, "modem");
  CopyText(r.szDeviceName, "Standard 28800 bps Modem");
  CopyText(r.szX25PadType, "pad");
  CopyText(r.szX25Address, "x25 address");
  CopyText(r.szX25Facilities, "facilities");
  CopyText(r.szX25UserData, "user data");
  r.dwChannels = 2;
  r.dwReserved1 = 7;
  r.dwReserved2 = 4000000000u;

  const std::string text = FormatPhoneBook({entry, EntryNamed("Second")});
  for (const char* line : {"\n[My ISP]\n", "\nOptions=SpecificIpAddr NetworkLogon 0x00010000\n",
                           "\nipaddrDns=192.168.1.255\n", "\nNetProtocols=IPX IP 0x00000080\n",
                           "\nDeviceName=Standard 28800 bps Modem\n", "\n[Second]\n"}) {
    EXPECT_NE(text.find(line), std::string::npos) << line;
  }
  const PhoneBook book = ParsePhoneBook(text);
  ASSERT_EQ(book.size(), 2u);
  EXPECT_EQ(book[0].name, "My ISP");
  EXPECT_EQ(std::memcmp(&book[0].record, &entry.record, sizeof entry.record), 0);
  EXPECT_EQ(book[1].name, "Second");
}

TEST(PhoneBookFile, NamesAndValuesWithAnyCharactersComeBackExactly) {
  const char* const texts[] = {
      "[Work] (fast)", "a]",           "]",         "[",
      "100%",          "%41",          " leading",  "trailing ",
      ";comment-like", "#hash",        "tab\there", "x=y",
      "line\nbreak",   "\xE4\xF6\xFC",
  };
  for (const char* text : texts) {
    SCOPED_TRACE(text);
    StoredEntry entry = EntryNamed(text);
    CopyText(entry.record.szLocalPhoneNumber, text);
    const PhoneBook book = ParsePhoneBook(FormatPhoneBook({entry}));
    ASSERT_EQ(book.size(), 1u);
    EXPECT_EQ(book[0].name, text);
    EXPECT_STREQ(book[0].record.szLocalPhoneNumber, text);
  }
}

TEST(PhoneBookFile, ReadsHandWrittenFilesLeniently) {
  const PhoneBook book = ParsePhoneBook(
      "CountryID=5\r\n"
      "; a comment\r\n"
      "[Home]\r\n"
      "  countryid = 44 \r\n"
      "Options=networklogon, 0x3\r\n"
      "ipaddr=10.300.1\r\n"
      "Colour=blue\r\n"
      "[HOME]\n"
      "DeviceType=isdn\n"
      "[broken\n"
      "CountryCode=7\n");
  ASSERT_EQ(book.size(), 1u);
  const RASENTRYA& r = book[0].record;
  EXPECT_EQ(book[0].name, "Home");
  EXPECT_EQ(r.dwCountryID, 44u);
  EXPECT_EQ(r.dwCountryCode, 0u);  // its line followed a broken section line
  EXPECT_EQ(r.dwfOptions, RASEO_NetworkLogon | 0x3u);
  EXPECT_EQ(std::memcmp(&r.ipaddr, "\x0A\x00\x01\x00", 4), 0);
  EXPECT_STREQ(r.szDeviceType, "isdn");
}

TEST(ServiceFiles, ReadsOneDevicePerLine) {
  const auto devices = ParseDeviceList(
      "# installed devices\n"
      "modem   Standard 28800 bps Modem  \r\n"
      "\n"
      "vpn\tWAN Miniport (PPTP)\n"
      "lonelytype\n"
      "averyveryverylongtype name\n");
  ASSERT_EQ(devices.size(), 3u);
  EXPECT_STREQ(devices[0].szDeviceType, "modem");
  EXPECT_STREQ(devices[0].szDeviceName, "Standard 28800 bps Modem");
  EXPECT_STREQ(devices[1].szDeviceType, "vpn");
  EXPECT_STREQ(devices[1].szDeviceName, "WAN Miniport (PPTP)");
  EXPECT_STREQ(devices[2].szDeviceType, "averyveryverylon");  // cut to 16 characters
  EXPECT_EQ(devices[2].dwSize, 152u);
}

}  // namespace
