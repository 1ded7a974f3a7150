// Giving an entry's credentials to the service. Every record that carries a secret to the service
// is wiped as soon as the call returns.
#include "app/credentials_step.h"

#include "app/command_line.h"
#include "app/run_log.h"
#include "app/run_result.h"
#include "base/secret_buffer.h"
#include "base/text.h"
#include "platform/result_codes.h"

namespace {

constexpr char kKeyNeedsXp[] =
    "the PreSharedKey needs Windows XP or later, whose service stores an entry's pre-shared key";

// The 95 family and NT 4.0 keep one user's credentials with the entry's dial parameters.
uint32_t StoreDialParameters(CRasApi& ras, const char* entryName, const CEntrySecrets& secrets) {
  CWipedRecord<RASDIALPARAMSA> parameters;
  parameters.value.dwSize = sizeof(RASDIALPARAMSA);
  CopyText(parameters.value.szEntryName, entryName);
  CopyText(parameters.value.szUserName, secrets.userName);
  CopyText(parameters.value.szPassword, secrets.password);
  CopyText(parameters.value.szDomain, secrets.domain);
  return ras.SetEntryDialParams(&parameters.value, secrets.hasPassword ? 0 : 1);
}

uint32_t SetCredentials(CRasApi& ras, const char* entryName, const CEntrySecrets& secrets,
                        DWORD scope) {
  CWipedRecord<RASCREDENTIALSA> credentials;
  credentials.value.dwSize = sizeof(RASCREDENTIALSA);
  credentials.value.dwMask = scope | (secrets.hasUserName ? RASCM_UserName : 0) |
                             (secrets.hasPassword ? RASCM_Password : 0) |
                             (secrets.hasDomain ? RASCM_Domain : 0);
  CopyText(credentials.value.szUserName, secrets.userName);
  CopyText(credentials.value.szPassword, secrets.password);
  CopyText(credentials.value.szDomain, secrets.domain);
  return ras.SetCredentials(entryName, &credentials.value, 0);
}

CCredentialsStored StoreUserCredentials(CRasApi& ras, const char* entryName,
                                        const CEntrySecrets& secrets) {
  uint32_t code = SetCredentials(ras, entryName, secrets, RASCM_DefaultCreds);
  if (code == 0) {
    return {0, "for every user of the machine"};
  }
  if (code == ERROR_PROC_NOT_FOUND) {
    code = StoreDialParameters(ras, entryName, secrets);
    return {code, code == 0 ? "as the entry's dial parameters, for the user who runs the tool"
                            : "the service refused the dial parameters with error " +
                                  std::to_string(code)};
  }
  // Windows 2000 knows no credentials for every user, and a user who is no administrator may not
  // set them: the running user's are what is left.
  code = SetCredentials(ras, entryName, secrets, 0);
  return {code, code == 0
                    ? "for the user who runs the tool"
                    : "the service refused the credentials with error " + std::to_string(code)};
}

}  // namespace

CCredentialsStored StoreCredentials(CRasApi& ras, const char* entryName,
                                    const CEntrySecrets& secrets) {
  CCredentialsStored stored;
  if (secrets.hasUserName || secrets.hasPassword || secrets.hasDomain) {
    stored = StoreUserCredentials(ras, entryName, secrets);
    if (stored.code != 0) {
      return stored;
    }
  }
  if (secrets.hasPreSharedKey) {
    CWipedRecord<RASCREDENTIALSA> key;
    key.value.dwSize = sizeof(RASCREDENTIALSA);
    key.value.dwMask = RASCM_PreSharedKey;
    CopyText(key.value.szPassword, secrets.preSharedKey);
    const uint32_t code = ras.SetCredentials(entryName, &key.value, 0);
    // Windows 2000 refuses the mask it does not know as an invalid parameter.
    if (code == ERROR_PROC_NOT_FOUND || code == ERROR_INVALID_PARAMETER) {
      return {code, kKeyNeedsXp};
    }
    if (code != 0) {
      return {code, "the service refused the pre-shared key with error " + std::to_string(code)};
    }
    stored.note += stored.note.empty() ? "the pre-shared key" : ", with the pre-shared key";
  }
  return stored;
}

void ApplyCredentials(CRasApi& ras, const char* entryName, const CEntrySecrets& secrets,
                      bool stored, bool always, bool check, CRunResult* result) {
  if (!secrets.found) {
    return;
  }
  if (!stored && !always) {
    result->CredentialsKept();
    return;
  }
  const CCredentialsStored done =
      check ? CCredentialsStored{} : StoreCredentials(ras, entryName, secrets);
  if (done.code == 0) {
    result->CredentialsSet(done.note);
  } else {
    result->CredentialsRefused(done.code, done.note);
  }
}

std::string ReadRunSecrets(const std::string& path, const CRunLog& log,
                           CWipedSecrets (&secrets)[2]) {
  if (path.empty()) {
    return {};
  }
  const char* const names[2] = {g_mainEntryName, g_vpnEntryName};
  std::string problem = ReadSecretsFile(path.c_str(), names, secrets, 2);
  for (size_t i = 0; i < 2 && problem.empty(); ++i) {
    if (names[i][0] != '\0' && !secrets[i].value.found) {
      log.Warn({"the secrets file has no section [", names[i],
                "]: the entry's credentials are left as they are"});
    }
  }
  return problem;
}
