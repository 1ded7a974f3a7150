// The application object: what it is given when it starts, and the help file path formed from
// the executable's path.
#include "framework/win_app.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace {

TEST(HelpFilePath, ReplacesTheExtensionOfTheFileNameOnly) {
  const struct {
    const char* executable;
    const char* help;
  } cases[] = {
      {"\\\\server\\share\\dialkit.exe", "\\\\server\\share\\dialkit.HLP"},
      {"C:\\Dial.Kit\\dialkit", "C:\\Dial.Kit\\dialkit.HLP"},  // a dot in a directory
      {"/opt/dial.kit/bin/dialkit", "/opt/dial.kit/bin/dialkit.HLP"},
      {"/opt/bin/dialkit.tar.gz", "/opt/bin/dialkit.tar.HLP"},
      {"dialkit", "dialkit.HLP"},
      {"", ""},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.executable);
    EXPECT_EQ(HelpFilePathFor(c.executable), c.help);
  }
}

TEST(CommandLineFromArguments, QuotesAgainWhatTheShellUnquoted) {
  const struct {
    std::vector<const char*> arguments;  // after the program name
    const char* text;
  } cases[] = {
      {{"INIT=isp.ini", "CONNECT=MyISP"}, "INIT=isp.ini CONNECT=MyISP"},
      {{"INIT=my file.ini", "CONNECT=My ISP"}, "INIT=\"my file.ini\" CONNECT=\"My ISP\""},
      {{"CONNECT=", "VPN=x"}, "CONNECT=\"\" VPN=x"},
      {{"CONNECT=a=b c"}, "CONNECT=\"a=b c\""},
      {{"two words", "/s"}, "\"two words\" /s"},
      {{"CONNECT=say \"hi\""}, "CONNECT=say \"hi\""},  // no way to quote a quote
      {{"", "ASK=0", ""}, "ASK=0"},
      {{"CONNECT=tab\there"}, "CONNECT=\"tab\there\""},
      {{}, ""},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.text);
    std::vector<const char*> argv = {"dialkit"};
    argv.insert(argv.end(), c.arguments.begin(), c.arguments.end());
    EXPECT_EQ(CommandLineFromArguments(static_cast<int>(argv.size()), argv.data()), c.text);
  }
}

class CRecordingApp final : public CWinApp {
 public:
  using CWinApp::CWinApp;

  BOOL InitInstance() override {
    steps = std::string(CommandLineText()) + " | " + HelpFilePath() + " | " + AppName();
    return FALSE;
  }
  int ExitInstance() override {
    steps += " | exit";
    return 7;
  }

  std::string steps;
};

// Whatever InitInstance answers, the exit step follows and gives the result.
TEST(RunApplication, StartsTheApplicationObjectWithItsTextsThenRunsTheExitStep) {
  {
    CRecordingApp app;
    EXPECT_EQ(CurrentApplication(), &app);
    EXPECT_EQ(RunApplication("INIT=\"isp.ini\" CONNECT=x", "C:\\Tools\\DIALKIT.EXE"), 7);
    EXPECT_EQ(app.steps, "INIT=\"isp.ini\" CONNECT=x | C:\\Tools\\DIALKIT.HLP | DIALKIT | exit");
  }
  {
    CRecordingApp app("Named");
    EXPECT_EQ(RunApplication(nullptr, "/opt/bin/dialkit"), 7);
    EXPECT_EQ(app.steps, " | /opt/bin/dialkit.HLP | Named | exit");
  }
  EXPECT_EQ(CurrentApplication(), nullptr);
  EXPECT_EQ(RunApplication("", "dialkit"), -1);
}

}  // namespace
