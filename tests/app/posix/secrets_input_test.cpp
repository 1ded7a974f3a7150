// The secrets file on POSIX: from standard input, as the Ansible module hands it over, and
// refused when anyone but its owner may read it.
#include <fcntl.h>
#include <unistd.h>

#include <gtest/gtest.h>

#include <algorithm>
#include <array>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <string>
#include <vector>

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

// After the run, no copy of the password is left anywhere in the process's memory: every
// readable mapping is searched for it. The test keeps the password only with one bit of every
// byte flipped, and its one plain copy, handed over through a pipe, is wiped where it was made.
TEST(SecretsRun, LeaveNoCopyOfThePasswordInMemory) {
#ifdef DIALKIT_TESTS_EMULATED
  GTEST_SKIP() << "qemu-user's /proc/self/mem shows the emulator's memory, not the program's";
#endif
  constexpr char kFlip = 0x20;
  std::array<char, 24> flipped;
  for (size_t i = 0; i < flipped.size(); ++i) {
    flipped[i] = static_cast<char>(('k' + (i * 7 + getpid()) % 13) ^ kFlip);
  }
  std::string secrets;
  secrets.reserve(64);  // never moved, so never left behind
  secrets = "[My ISP]\nUserName=jo\nPassword=";
  for (const char c : flipped) {
    secrets += static_cast<char>(c ^ kFlip);
  }
  secrets += "\n";
  const test::RunWorld world;
  int input[2];
  ASSERT_EQ(pipe(input), 0);
  ASSERT_EQ(write(input[1], secrets.data(), secrets.size()), ssize_t(secrets.size()));
  close(input[1]);
  std::fill(secrets.begin(), secrets.end(), '\0');
  const int saved = dup(STDIN_FILENO);
  dup2(input[0], STDIN_FILENO);
  close(input[0]);
  EXPECT_EQ(test::PlayInProcess(world, "INIT=isp.ini CONNECT=\"My ISP\" /quiet /secrets:-"), 0);
  dup2(saved, STDIN_FILENO);
  close(saved);
  std::ifstream maps("/proc/self/maps");
  const int memory = open("/proc/self/mem", O_RDONLY);
  std::string line;
  std::vector<char> bytes;
  while (std::getline(maps, line)) {
    unsigned long from = 0;
    unsigned long to = 0;
    char access[5] = "";
    // The sanitizers' reserves of terabytes hold none of the run's data.
    if (std::sscanf(line.c_str(), "%lx-%lx %4s", &from, &to, access) != 3 || access[0] != 'r' ||
        line.find("[vvar]") != std::string::npos || to - from > (1ul << 28)) {
      continue;
    }
    bytes.resize(to - from);
    const auto end = bytes.begin() + std::max<ssize_t>(0, pread(memory, bytes.data(), bytes.size(),
                                                                static_cast<off_t>(from)));
    EXPECT_EQ(std::search(bytes.begin(), end, flipped.begin(), flipped.end(),
                          [](char byte, char flip) { return byte == (flip ^ kFlip); }),
              end)
        << line;
  }
  close(memory);
}
