// The removal run of /remove: deletes the entries named by CONNECT and VPN. No entry description
// file is read and the settings file is left as it is. An entry that is not there counts as
// removed, since an uninstaller may run again after a failed uninstall. An entry is taken for
// absent only when the service says so; any other failed query leaves the answer to the deletion
// itself, so that no entry is left behind under a report of success.
#include "app/remove_run.h"

#include "app/entry_query.h"
#include "app/run_steps.h"
#include "base/text.h"
#include "platform/result_codes.h"
#include "ras/ras_library.h"

namespace {

constexpr char kRemoveOneText[] =
    "The connection object \"%s\" will be removed.\nDo you want to remove it?";
constexpr char kRemoveBothText[] =
    "The connection objects \"%s\" and \"%s\" will be removed.\nDo you want to remove them?";
constexpr char kRemoveTitle[] = "Remove Connection Object";
constexpr char kRemoveFailedText[] = "Error %u removing connection object \"%s\"";
constexpr char kMainRemoveFailedTitle[] = "Failed to Remove Connection Object";
constexpr char kVpnRemoveFailedTitle[] = "Failed to Remove VPN Connection Object";

}  // namespace

int RemoveEntries(const char* commandLine, const CRunLog& log, const CRunOptions& options,
                  CRunResult* result) {
  ParseEntryNames(commandLine);
  if (g_mainEntryName[0] == '\0' && g_vpnEntryName[0] == '\0') {
    ShowUsage();
    return kRunUsage;
  }
  // One name given for both is one entry, and is removed once.
  const bool vpnIsMain = TextEqualsIgnoringCase(g_mainEntryName, g_vpnEntryName);
  const char* const names[] = {g_mainEntryName[0] != '\0' ? g_mainEntryName : nullptr,
                               g_vpnEntryName[0] != '\0' && !vpnIsMain ? g_vpnEntryName : nullptr};
  const char* const failureTitles[] = {kMainRemoveFailedTitle, kVpnRemoveFailedTitle};
  if (!LoadService(log)) {
    for (int i = 0; i < 2; ++i) {
      if (names[i] != nullptr) {
        result->NotStored(names[i], i == 1, kRunServiceNotLoaded,
                          "the remote-access library cannot be loaded");
      }
    }
    return result->Status();
  }
  // As in the provisioning run, the first query only learns the size the service wants.
  CEntryQuery query;
  query.Ask(names[0] != nullptr ? names[0] : names[1]);
  CStoredEntry stored[2];
  bool there[2] = {};
  for (int i = 0; i < 2; ++i) {
    if (names[i] != nullptr) {
      stored[i] = ReadStoredEntry(&query, names[i]);
      there[i] = !stored[i].Absent();
      if (!there[i]) {
        result->Absent(names[i], i == 1);
      }
    }
  }
  // Only a person is asked; a quiet run was told to remove by its command line.
  if (!options.quiet && !Confirm(there[0] ? names[0] : nullptr, there[1] ? names[1] : nullptr,
                                 kRemoveOneText, kRemoveBothText, kRemoveTitle)) {
    for (int i = 0; i < 2; ++i) {
      if (there[i]) {
        result->NotStored(names[i], i == 1, kRunExistingKept, "the removal was not confirmed",
                          stored[i].Read(), true);
      }
    }
    return result->Status();
  }
  for (int i = 0; i < 2; ++i) {
    if (!there[i]) {
      continue;
    }
    const uint32_t code = options.check ? 0 : g_rasLibrary.DeleteEntry(names[i]);
    if (code == 0) {
      result->Removed(names[i], i == 1, stored[i].Read());
    } else if (code == ERROR_CANNOT_FIND_PHONEBOOK_ENTRY) {
      result->Absent(names[i], i == 1);
    } else {
      char message[kMessageCapacity];
      FormatText(message, sizeof message, kRemoveFailedText, static_cast<unsigned>(code), names[i]);
      ShowWarning(message, failureTitles[i]);
      result->Refused(names[i], i == 1, code, stored[i].Read());
    }
  }
  return result->Status();
}
