// The secrets file on POSIX: from standard input, as the Ansible module hands it over, and
// refused when anyone but its owner may read it.
#include <fcntl.h>
#include <unistd.h>

#include <gtest/gtest.h>

#include <filesystem>
#include <string>

#include "app/run_cases.h"

namespace {

TEST(SecretsRun, ComeFromStandardInputOrAFileOnlyItsOwnerMayRead) {
  const struct {
    const char* source;
    unsigned mode;  // of the file secrets.ini
    int status;
  } rows[] = {
      {"-", 0600, 0}, {"secrets.ini", 0640, 10}, {"secrets.ini", 0604, 10}, {"<", 0644, 10}};
  for (const auto& row : rows) {
    SCOPED_TRACE(row.mode);
    const test::RunWorld world;
    const std::string secrets = "[My ISP]\nUserName=jo\nPassword=pw\n";
    const std::filesystem::path file = world.start / "secrets.ini";
    test::WriteFileBytes(file.string(), secrets);
    std::filesystem::permissions(file, std::filesystem::perms(row.mode));
    int input[2];
    ASSERT_EQ(pipe(input), 0);
    ASSERT_EQ(write(input[1], secrets.data(), secrets.size()), ssize_t(secrets.size()));
    close(input[1]);
    const int saved = dup(STDIN_FILENO);
    // "<": standard input is the file itself.
    const int source = row.source[0] == '<' ? open(file.c_str(), O_RDONLY) : dup(input[0]);
    dup2(source, STDIN_FILENO);
    close(source);
    close(input[0]);
    const int status =
        test::PlayInProcess(world, "INIT=isp.ini CONNECT=\"My ISP\" /quiet /log:run.log /secrets:" +
                                       std::string(row.source[0] == '<' ? "-" : row.source));
    dup2(saved, STDIN_FILENO);
    close(saved);
    EXPECT_EQ(status, row.status);
    const std::string log = test::ReadFileBytes((world.start / "run.log").string());
    EXPECT_EQ(log.find("may be read by others") != std::string::npos, row.status == 10) << log;
    EXPECT_EQ(log.find("set the credentials of \"My ISP\"") != std::string::npos, row.status == 0)
        << log;
  }
}

}  // namespace
