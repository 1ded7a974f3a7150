// What the application object is given when it starts: the command line, as the shell's arguments
// are put together again. (The help file path formed from the executable's path is checked with
// the directory the run takes from it, in the run's tests.)
#include "framework/win_app.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace {

TEST(CommandLineFromArguments, QuotesAgainWhatTheShellUnquoted) {
  const struct {
    std::vector<const char*> arguments;  // after the program name
    const char* text;
  } cases[] = {
      {{"CONNECT=", "VPN=x"}, "CONNECT=\"\" VPN=x"},
      {{"CONNECT=a=b c"}, "CONNECT=\"a=b c\""},
      {{"CONNECT=say \"hi\""}, "CONNECT=say \"hi\""},  // no way to quote a quote
      {{"", "ASK=0", ""}, "ASK=0"},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.text);
    std::vector<const char*> argv = {"dialkit"};
    argv.insert(argv.end(), c.arguments.begin(), c.arguments.end());
    EXPECT_EQ(CommandLineFromArguments(static_cast<int>(argv.size()), argv.data()), c.text);
  }
}

}  // namespace
