// Runs with a secrets file, in process against the stand-in service, which keeps credentials as
// digests: what reaches the service, what the run reports, and that no secret reaches the log,
// the report or the service's files in clear.
#include <gtest/gtest.h>

#include <filesystem>
#include <string>
#include <vector>

#include "app/run_cases.h"
#include "stand_in_credentials.h"

namespace {

constexpr char kLine[] =
    "INIT=isp.ini CONNECT=\"My ISP\" VPN=\"My VPN\" /quiet /secrets:secrets.ini /log:run.log "
    "/report:report.json";
constexpr char kSecrets[] =
    "; the office's\n[my isp]\nUserName = jo\nPassword = \" p#ss\"\n[My VPN]\nUserName=jo\n"
    "Domain=CORP\nPassword=vpn-secret\nPreSharedKey=k3y-secret\n[Other]\nPassword=zz-other-pw\n";
constexpr char kNoKey[] = "\xEF\xBB\xBF[My ISP]\nUserName=jo\nPassword=\" p#ss\"\n";
const std::string kLongPassword = "[My ISP]\nPassword=" + std::string(257, 'x') + "\n";
const std::vector<std::string> kPasswords = {" p#ss", "vpn-secret", "k3y-secret", "zz-other-pw"};

struct SecretsCase {
  const char* name;
  std::string secrets;
  const char* failing = nullptr;              // made to answer 127 (missing), or 5 for every user's
  std::string options = "";                   // of the second run, after the first
  int status = 0;                             // of the last run
  std::vector<std::string> credentials = {};  // credentials.txt afterwards, password digests
  std::string reported = "";                  // the last report's credentials values, and "changed"
  std::string logged = "";                    // in the log
};

const SecretsCase kCases[] = {
    {"every user's credentials and the key, from XP on",
     kSecrets,
     nullptr,
     "",
     0,
     {"My ISP\tFor\tall users", "My ISP\tUserName\tjo", "My ISP\tPassword\t p#ss",
      "My VPN\tFor\tall users", "My VPN\tUserName\tjo", "My VPN\tDomain\tCORP",
      "My VPN\tPassword\tvpn-secret", "My VPN\tPreSharedKey\tk3y-secret"},
     "set set"},
    {"the dial parameters where the credentials function is missing",
     kNoKey,
     "RasSetCredentialsA",
     "",
     0,
     {"My ISP\tFor\tthe caller", "My ISP\tUserName\tjo", "My ISP\tDomain\t",
      "My ISP\tPassword\t p#ss"},
     "set"},
    {"no key without the credentials function of XP",
     kSecrets,
     "RasSetCredentialsA",
     "",
     11,
     {"My ISP\tFor\tthe caller", "My ISP\tUserName\tjo", "My ISP\tDomain\t",
      "My ISP\tPassword\t p#ss", "My VPN\tFor\tthe caller", "My VPN\tUserName\tjo",
      "My VPN\tDomain\tCORP", "My VPN\tPassword\tvpn-secret"},
     "set refused",
     "\"My VPN\": the PreSharedKey needs Windows XP or later"},
    {"the running user's where every user's are refused",
     kNoKey,
     "RasSetCredentialsA DefaultCreds",
     "",
     0,
     {"My ISP\tFor\tthe caller", "My ISP\tUserName\tjo", "My ISP\tPassword\t p#ss"},
     "set",
     "for the user who runs the tool"},
    {"an unchanged entry keeps them",
     kNoKey,
     nullptr,
     " ",
     0,
     {"My ISP\tFor\tall users", "My ISP\tUserName\tjo", "My ISP\tPassword\t p#ss"},
     "kept"},
    {"unless always",
     kNoKey,
     nullptr,
     " /credentials:always",
     0,
     {"My ISP\tFor\tall users", "My ISP\tUserName\tjo", "My ISP\tPassword\t p#ss"},
     "set changed"},
    {"a line that is no key",
     "[My ISP]\nPassword\n",
     nullptr,
     "",
     10,
     {},
     "",
     "line 2 of the secrets file is neither"},
    {"a password longer than the platform's",
     kLongPassword,
     nullptr,
     "",
     10,
     {},
     "",
     "holds a Password longer than 256 characters"},
};

TEST(SecretsRun, CredentialsReachTheServiceAsEachWindowsTakesThemAndNoSecretLeaks) {
  for (const SecretsCase& c : kCases) {
    SCOPED_TRACE(c.name);
    test::RunWorld world;
    if (c.failing != nullptr) {
      world.FailFunction(c.failing, std::string(c.failing).ends_with("Creds") ? 5 : 127);
    }
    test::WriteFileBytes((world.start / "secrets.ini").string(), c.secrets);
    std::filesystem::permissions(world.start / "secrets.ini", std::filesystem::perms(0600));
    int status = test::PlayInProcess(world, kLine);
    if (!c.options.empty()) {
      status = test::PlayInProcess(world, kLine + c.options);
    }
    EXPECT_EQ(status, c.status);
    std::string expected;
    for (const std::string& line : c.credentials) {
      const size_t secret =
          line.find("Password\t") != std::string::npos || line.find("Key\t") != std::string::npos
              ? line.rfind('\t') + 1
              : line.size();
      expected += line.substr(0, secret) +
                  (secret < line.size() ? SecretDigest(line.substr(secret)) : "") + "\n";
    }
    const std::string ras = (world.Root().path() / "system32" / "ras").string();
    EXPECT_EQ(test::ReadFileBytes(ras + "/credentials.txt"), expected);
    const std::string report = test::ReadFileBytes((world.start / "report.json").string());
    const std::string log = test::ReadFileBytes((world.start / "run.log").string());
    std::string reported;
    for (size_t at = 0; (at = report.find("\"credentials\": \"", at)) != std::string::npos;) {
      at += 16;
      reported += (reported.empty() ? "" : " ") + report.substr(at, report.find('"', at) - at);
    }
    if (report.find("\"changed\": true") != std::string::npos && !c.options.empty()) {
      reported += " changed";
    }
    EXPECT_EQ(reported, c.reported) << report;
    EXPECT_NE(log.find(c.logged), std::string::npos) << log;
    for (const std::string& password : kPasswords) {
      for (const std::string& file : {log, report, test::ReadFileBytes(ras + "/credentials.txt"),
                                      test::ReadFileBytes(ras + "/rasphone.pbk")}) {
        EXPECT_EQ(file.find(password), std::string::npos) << password << " in " << file;
      }
    }
  }
}

}  // namespace
