// The application object: what it is given when it starts, and the help file path formed from
// the executable's path.
#include "framework/win_app.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace {

TEST(HelpFilePath, ReplacesTheExtensionOfTheFileNameOnly) {
  struct Case {
    const char* executable;
    const char* help;
  };
  const Case cases[] = {
      {"C:\\Tools\\DIALKIT.EXE", "C:\\Tools\\DIALKIT.HLP"},
      {"C:\\DIALKIT.EXE", "C:\\DIALKIT.HLP"},
      {"\\\\server\\share\\dialkit.exe", "\\\\server\\share\\dialkit.HLP"},
      {"C:\\Dial.Kit\\dialkit", "C:\\Dial.Kit\\dialkit.HLP"},  // a dot in a directory
      {"/opt/dial.kit/bin/dialkit", "/opt/dial.kit/bin/dialkit.HLP"},
      {"/opt/bin/dialkit.tar.gz", "/opt/bin/dialkit.tar.HLP"},
      {"dialkit", "dialkit.HLP"},
      {"", ""},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.executable);
    EXPECT_EQ(HelpFilePathFor(c.executable), c.help);
  }
}

class CRecordingApp final : public CWinApp {
 public:
  using CWinApp::CWinApp;

  BOOL InitInstance() override {
    steps.push_back(std::string("init ") + CommandLineText() + " | " + HelpFilePath() + " | " +
                    AppName());
    return FALSE;
  }
  int ExitInstance() override {
    steps.push_back("exit");
    return 7;
  }

  std::vector<std::string> steps;
};

TEST(RunApplication, StartsTheApplicationObjectWithItsTextsThenRunsTheExitStep) {
  {
    CRecordingApp app;
    EXPECT_EQ(CurrentApplication(), &app);
    EXPECT_EQ(RunApplication("INIT=\"isp.ini\" CONNECT=x", "C:\\Tools\\DIALKIT.EXE"), 7);
    EXPECT_EQ(app.steps,
              (std::vector<std::string>{
                  "init INIT=\"isp.ini\" CONNECT=x | C:\\Tools\\DIALKIT.HLP | DIALKIT", "exit"}));
  }
  {
    CRecordingApp app("Named");
    EXPECT_EQ(RunApplication(nullptr, "/opt/bin/dialkit"), 7);
    EXPECT_EQ(app.steps[0], "init  | /opt/bin/dialkit.HLP | Named");
  }
  EXPECT_EQ(CurrentApplication(), nullptr);
  EXPECT_EQ(RunApplication("", "dialkit"), -1);
}

}  // namespace
