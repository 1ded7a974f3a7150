// dialkit-check on small files, each with the findings it must give: line, code and key. The
// table runs against the profile functions of the build: ours on the host, the system's under
// Wine. Its rows of odd layouts (letter case, blanks, line ends, repeated and misplaced names)
// also show that the line a finding names is the line the profile functions read.
#include "entry_check.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "check_program.h"
#include "check_report.h"
#include "check_text.h"
#include "source_lines.h"
#include "support/test_files.h"

namespace {

// A [RasEntry] with a phone number, then `keys` from line 3 on.
std::string Keys(const std::string& keys) {
  return "[RasEntry]\r\nLocalPhoneNumber=5550142\r\n" + keys + "\r\n";
}

// "LINE CODE KEY" of each finding, in order; line 0 is the file as a whole, key - is none. A
// misspelt section (DK107) shows its section as written, in brackets, in place of the key.
std::string Findings(const CEntryFileCheck& check) {
  std::string text;
  for (const CFinding& finding : check.findings) {
    const bool nearSection = finding.kind == FindingKind::kSectionNameNear;
    text += (text.empty() ? "" : ", ") + std::to_string(finding.line) + " " +
            FindingCode(finding.kind) + " " +
            (nearSection           ? "[" + finding.section + "]"
             : finding.key.empty() ? "-"
                                   : finding.key);
  }
  return text;
}

const std::string kBlanks(192, ' ');

const struct {
  std::string file;
  const char* findings;
  const char* section = "RasEntry";  // null: both
} kRows[] = {
    // Layouts, and where the tool reads nothing.
    {"[rasentry]\r\n\r\n  localphonenumber = 1\r\n\tareacod\t=1\r\n", "4 DK101 areacod"},
    {"\xEF\xBB\xBF[RasEntry]\rLocalPhoneNumber=1\r\rAreaCod=1\r", "4 DK101 AreaCod"},
    {test::Utf16(u"[RasEntry]\r\nLocalPhoneNumber=1\r\nAreaCod=1\r\n"), "3 DK101 AreaCod"},
    {Keys("password=hunter2\r\nPreSharedKey=k"), "3 DK111 password, 4 DK111 PreSharedKey"},
    {"[RasEntry]\n;LocalPhoneNumber=0\n[x\nLocalPhoneNumber=1\nlocalphonenumber=2\n",
     "3 DK108 [x, 5 DK102 LocalPhoneNumber"},
    {"[RasEntry]\n;c\n[VPNEntry]\nLocalPhoneNumber=1\n[ rasentry ]\nLocalPhoneNumber=1\n",
     "1 DK106 -, 1 DK601 LocalPhoneNumber, 5 DK103 -", nullptr},
    {"LocalPhoneNumber=1\n[Ras Entry]\nLocalPhoneNumber=1\n",
     "0 DK106 -, 0 DK601 LocalPhoneNumber, 2 DK107 [Ras Entry]"},
    {"", "0 DK106 -, 0 DK601 LocalPhoneNumber, 0 DK104 -", nullptr},
    {Keys("[VPNEntry]\r\n; a comment only"), "3 DK104 -", nullptr},
    {Keys("[VPNEntry]\r\n; a comment only\r\n[VPNEntry]\r\nLocalPhoneNumber=1"),
     "3 DK105 -, 5 DK103 -", "VPNEntry"},
    {Keys("Options\r\nAreaCode 617\r\n#Script=a"),
     "3 DK108 Options, 4 DK108 AreaCode 617, 5 DK110 #Script"},
    {"[RasEntry]\nAreaCode=1\nOptions=UseCountryAndAreaCodes\n", "1 DK601 LocalPhoneNumber"},
    {Keys("Options=UseCountryAndAreaCodes"), "3 DK602 AreaCode"},
    {"[RasEntry]\nLocalPhoneNumber=\nOptions=UseCountryAndAreaCodes\nAreaCode=\"\"\n",
     "2 DK605 LocalPhoneNumber, 4 DK606 AreaCode"},
    // Keyword lists.
    {Keys("Options=networklogon\r\nFramingProtocol=ppp PPP"), "3 DK201 Options"},
    {Keys("Options=NoNetworkLogonPlease\r\nNetProtocols=IPX"),
     "3 DK202 Options, 4 DK202 NetProtocols"},
    {Keys("NetProtocols=IPX,IP\r\nFramingProtocol=TCP/PPP"), "4 DK203 FramingProtocol"},
    {Keys("Options=NetworkLogon ; ModemLights"), "3 DK109 Options"},
    {Keys("Options=NetworkLogon" + kBlanks + "ModemLights"), ""},  // ends at 215
    {Keys("Options=NetworkLogon " + kBlanks + "ModemLights"), "3 DK204 Options"},
    {Keys("Options=NetworkLogon" + kBlanks + kBlanks + "x"), "3 DK205 Options"},
    {Keys("Options=\r\nNetProtocols="), "3 DK206 Options, 4 DK206 NetProtocols"},
    {Keys("Options=SpecificIpAddr"), "3 DK207 Options"},
    // Addresses.
    {Keys("ipaddr=192.168.1.300\r\nipaddrDns=10.-1.0.1"), "3 DK301 ipaddr, 4 DK302 ipaddrDns"},
    {Keys("ipaddr=1.2.3.4.5\r\nipaddrWins=12ab.1.1.1"), "3 DK303 ipaddr, 4 DK304 ipaddrWins"},
    {Keys("ipaddr=10..0.1\r\nipaddrWins=10.1"), "3 DK305 ipaddr, 4 DK306 ipaddrWins"},
    {Keys("ipaddr=dns.example.com\r\nipaddrDns=0.0.0.0\r\nipaddrWins=\r\nipaddrWinsAlt= 10 . 0 . 0 "
          ". 1 "),
     "3 DK307 ipaddr"},
    // Integers.
    {Keys("CountryID=0x31\r\nCountryCode=4294967296\r\nFrameSize=-1\r\nReserved1=\r\nChannels=007"),
     "3 DK401 CountryID, 4 DK402 CountryCode, 5 DK403 FrameSize, 6 DK404 Reserved1"},
    {Keys("CountryID=0000000000000000000000000000001"), "3 DK402 CountryID"},
    {Keys("Reserved2=1\r\nAlternatesOffset=1"), "3 DK603 Reserved2, 4 DK604 AlternatesOffset"},
    // Texts.
    {Keys("AreaCode=0123456789AB\r\nScript=a.scp ; logon"), "3 DK501 AreaCode, 4 DK109 Script"},
    {Keys("AreaCode=\"0123456789\""), "3 DK501 AreaCode"},  // a quoted value that fills the field
    // Keys of the later records: words in any letter case; a value of none is no default.
    {Keys("vpnstrategy=ikev2ONLY\r\nEncryptionType=RequireMax\r\nUsePreSharedKey=1\r\n"
          "IdleDisconnectSeconds=600\r\nDnsSuffix=corp.example"),
     ""},
    {Keys("VpnStrategy=WireGuard\r\nUsePreSharedKey=yes\r\nIdleDisconnectSeconds=10m\r\n"
          "DnsSuffix=" +
          std::string(256, 'a')),
     "3 DK701 VpnStrategy, 4 DK701 UsePreSharedKey, 5 DK701 IdleDisconnectSeconds, 6 DK501 "
     "DnsSuffix"},
};

TEST(EntryCheck, FindsEachSurpriseOnItsLine) {
  const test::ScopedTempDirectory directory;
  for (size_t i = 0; i < std::size(kRows); ++i) {
    SCOPED_TRACE(testing::Message() << "row " << i << ": " << kRows[i].file);
    // A file of its own per row: the system's profile functions may keep a file they just read.
    const std::string path = directory.File("row" + std::to_string(i) + ".ini");
    test::WriteFileBytes(path, kRows[i].file);
    EXPECT_EQ(Findings(CheckEntryFile(path.c_str(), kRows[i].section)), kRows[i].findings);
  }
}

// A name the profile functions list but the walk through the file cannot find has no line, and
// nor has any name after it in its section: never a wrong line. The report then says so, and
// never takes a key that is given for one left out.
TEST(SourceLines, ANameThatCannotBeFoundHasNoLineAndIsNoDefault) {
  const CSourceLines lines("[a]\nk=1\n;c\nm=2\n[b]\n[a]\nk=3\n");
  EXPECT_EQ(lines.KeyLines("a", {"k", "x", "m"}),
            (std::vector<int>{2, kLineNotFound, kLineNotFound}));

  const test::ScopedTempDirectory directory;
  const std::string path = directory.File("report.txt");
  CEntryFileCheck check;
  check.readable = true;
  check.findings.push_back({FindingKind::kUnknownKey, kLineNotFound, "RasEntry", "x", "x"});
  CCheckedEntry& entry =
      check.entries.emplace_back(CCheckedEntry{"RasEntry", true, {}, {}, {}, {}});
  entry.lines[FindEntryKey("LocalPhoneNumber") - kEntryKeys] = kLineNotFound;
  std::FILE* out = std::fopen(path.c_str(), "wb");
  ASSERT_NE(out, nullptr);
  WriteTextReport(out, "f.ini", check);
  WriteJsonReport(out, "f.ini", check);
  std::fclose(out);
  const std::string reports = test::ReadFileBytes(path);
  for (const char* shown :
       {"f.ini: warning: x (its line was not found)", "(LocalPhoneNumber, line not found)",
        "\"line\": null", "\"LocalPhoneNumber\": 0,"}) {
    EXPECT_NE(reports.find(shown), std::string::npos) << reports;
  }
}

// Every code has its entry in the documentation, under the severity it is given.
TEST(EntryCheck, EveryFindingIsDocumented) {
  const std::string page = test::ReadFileBytes(DIALKIT_CHECK_DOCUMENTATION);
  if (page.empty()) {
    GTEST_SKIP() << "no documentation at " << DIALKIT_CHECK_DOCUMENTATION;
  }
  for (int kind = 0; kind < static_cast<int>(FindingKind::kCount); ++kind) {
    const auto finding = static_cast<FindingKind>(kind);
    EXPECT_NE(page.find(std::string("**") + FindingCode(finding) + " " +
                        SeverityName(FindingSeverity(finding)) + ":"),
              std::string::npos)
        << FindingCode(finding);
  }
}

// The program's exit statuses, and text from the file in both forms of the report: escaped so
// that nothing could reach a terminal as a command, in JSON by JSON's escapes. (The fuzz target
// checks that no report holds any other byte.)
TEST(CheckProgram, ExitsByTheWorstFindingAndEscapesTheFilesText) {
  const test::ScopedTempDirectory directory;
  const test::ScopedCurrentDirectory current(directory.path());
  test::WriteFileBytes("good.ini", Keys(""));
  test::WriteFileBytes("warned.ini", Keys("AreaCod=1"));
  test::WriteFileBytes("wrong.ini", Keys("FramingProtocol=ppp"));
  test::WriteFileBytes("odd.ini", Keys("Script=\x1b[2J\xE9\"\\ ; x"));
  const struct {
    std::vector<const char*> arguments;
    int status;
    const char* shown;  // in the output
  } cases[] = {
      {{"--help"}, 0, "Exit status: 0 no error or warning"},
      {{}, 4, ""},
      {{"good.ini", "--section", "Dial"}, 4, ""},
      {{"good.ini", "good.ini"}, 4, ""},
      {{"--verbose", "good.ini"}, 4, ""},
      {{"missing.ini", "--json"}, 3, "\"status\": 3"},
      {{"good.ini", "--section", "rasentry"}, 0, "[RasEntry] would be stored as"},
      {{"warned.ini", "--section", "RasEntry"}, 1, ":3: warning: `AreaCod`"},
      {{"wrong.ini", "--json"}, 2, "\"line\": 3, \"section\": \"RasEntry\""},
      {{"odd.ini"}, 1, "szScript            \"\\x1b[2J\\xe9\\\"\\\\ ; x\""},
      {{"odd.ini", "--json"}, 1, "{\"text\": \"\\u001b[2J\\u00e9\\\"\\\\ ; x\""},
  };
  for (const auto& c : cases) {
    std::vector<const char*> argv = {"dialkit-check"};
    argv.insert(argv.end(), c.arguments.begin(), c.arguments.end());
    SCOPED_TRACE(testing::Message() << argv.back());
    std::FILE* out = std::fopen("out.txt", "wb");
    ASSERT_NE(out, nullptr);
    const int status = RunCheckProgram(static_cast<int>(argv.size()), argv.data(), out, out);
    std::fclose(out);
    const std::string shown = test::ReadFileBytes("out.txt");
    EXPECT_EQ(status, c.status);
    EXPECT_NE(shown.find(c.shown), std::string::npos) << shown;
  }
}

}  // namespace
