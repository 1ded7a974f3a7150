// The provisioning run, and the frame of both runs. Every way out after the move into the
// executable's directory passes through one clean-up: the work file is deleted and the directory
// the tool was started in is made current again. Every entry asked for gets one outcome
// (run_result.h), which is logged, decides the exit status of a quiet run and goes into the report
// (/report). An entry is written only when what the service keeps under its name differs from
// what the file describes, so that a run repeated changes nothing; /check stops before writing.
#include "app/provision_app.h"

#include <optional>
#include <string>
#include <utility>
#include <vector>

#include "app/command_line.h"
#include "app/credentials_step.h"
#include "app/entry_comparison.h"
#include "app/entry_query.h"
#include "app/files_directory.h"
#include "app/later_store.h"
#include "app/no_device_report.h"
#include "app/remove_run.h"
#include "app/run_log.h"
#include "app/run_report.h"
#include "app/run_result.h"
#include "app/run_steps.h"
#include "app/settings_file.h"
#include "base/out_of_memory.h"
#include "base/text.h"
#include "device/device_assignment.h"
#include "dialog_templates.h"
#include "entry/entry_reader.h"
#include "entry/entry_record.h"
#include "entry/later_keys.h"
#include "framework/window_system.h"
#include "platform/paths.h"
#include "platform/result_codes.h"
#include "platform/system_info.h"
#include "ras/ras_library.h"

namespace {

constexpr char kFileNotFoundText[] = " does not exist.  Please check the file name.";
constexpr char kFileNotFoundTitle[] = "File Not Found";
constexpr char kOneExistsText[] =
    "The connectiod \"%s\" already exists.\nDo you want to overwrite it?";
constexpr char kBothExistText[] =
    "The connectiods \"%s\" and \"%s\" already exist.\nDo you want to overwrite them?";
constexpr char kExistsTitle[] = "Object Already Exists";
constexpr char kNotConfirmed[] = "the overwrite of existing entries was not confirmed";
constexpr char kStoreFailedText[] = "Error %u creating connection object \"%s\"";
constexpr char kMainStoreFailedTitle[] = "Failed to Set Connection Object";
constexpr char kVpnStoreFailedTitle[] = "Failed to Set VPN Connection Object";

constexpr char kSettingsFileName[] = "dialkit.ini";
constexpr char kWorkFileName[] = "dialkit.wrk";
constexpr char kVpnSection[] = "VPNEntry";

constexpr size_t kSettingsPathCapacity = 340;

// The entries to store; they live until the process ends.
RASENTRYA g_mainEntry;
RASENTRYA g_vpnEntry;

// An entry the run is asked to store: what the service keeps under its name, and, once the entry
// has its device, what storing it would change there.
struct CPlannedEntry {
  CPlannedEntry(const char* entryName, bool isVpn, RASENTRYA* entryRecord, const char* title)
      : name(entryName), vpn(isVpn), record(entryRecord), failureTitle(title) {}

  const char* name;
  bool vpn;
  RASENTRYA* record;
  const char* failureTitle;
  CStoredEntry stored;
  bool described = false;  // it has its record and device, and is to be stored
  CEntryChanges changes;
  CLaterKeys later;      // the keys only the later records carry, where the file sets any
  CLongEntry longEntry;  // with them: what the service keeps at the longest size it takes

  void ReadLaterKeys(const char* section) {
    later = ReadLaterEntryKeys(g_entryFilePath, section);
    AgreeBaseOptions(later, record);
  }
  LongEntryRecord Merged() const { return MergedEntry(longEntry, *record, later, vpn); }
  // What storing would change: needed to decide only where the service gave a record, and
  // otherwise (every key is new) only for a report.
  void Compare(bool reported) {
    if (later.Any()) {
      longEntry = ReadLongEntry(name);
    }
    if (stored.Read() != nullptr || reported) {
      changes = CompareEntryRecords(stored.Read(), record);
      CompareLaterKeys(later, longEntry.Stored(), Merged(), &changes);
    }
  }
  bool Unchanged() const { return stored.Read() != nullptr && changes.empty(); }
  // An entry is there (or may be: the service did not say) and would be overwritten.
  bool Overwritten() const { return described && !stored.Absent() && !Unchanged(); }
};

// Stores the entry with exactly its 1768 bytes, or where the file sets later keys with the longest
// record the service takes (later_store.h), or with /check says it would; on failure tells the
// user the service's code. An entry whose later keys this Windows cannot carry is not stored.
bool StoreEntry(CPlannedEntry* entry, bool check, CRunResult* result) {
  entry->record->dwSize = kEntryRecordSize;
  std::string notCarried;
  uint32_t code = 0;
  if (entry->later.Any()) {
    const LongEntryRecord merged = entry->Merged();
    if (check) {
      notCarried = LaterKeyNotCarried(entry->later, merged, *entry->longEntry.layout);
    } else {
      code = StoreLongEntry(entry->name, entry->later, merged, entry->longEntry, &notCarried);
    }
  } else if (!check) {
    code =
        g_rasLibrary.SetEntryProperties(entry->name, entry->record, kEntryRecordSize, nullptr, 0);
  }
  if (!notCarried.empty()) {
    result->NotStored(entry->name, entry->vpn, kRunKeyNotCarried, notCarried, entry->record,
                      !entry->stored.Absent(), std::move(entry->changes));
    return false;
  }
  if (code != 0) {
    char message[kMessageCapacity];
    FormatText(message, sizeof message, kStoreFailedText, static_cast<unsigned>(code), entry->name);
    ShowWarning(message, entry->failureTitle);
    result->Refused(entry->name, entry->vpn, code, entry->record, std::move(entry->changes));
    return false;
  }
  result->Stored(entry->name, entry->vpn, *entry->record, std::move(entry->changes),
                 entry->stored.Absent());
  return true;
}

// The first `count` entries (with `onlyDescribed`, those of them with a record and a device),
// not stored for one reason: kept where they are there already, unchanged where equal.
int NoneStored(CPlannedEntry (&entries)[2], int count, bool onlyDescribed, int status,
               const char* reason, CRunResult* result) {
  for (int i = 0; i < count; ++i) {
    CPlannedEntry& entry = entries[i];
    if (onlyDescribed && !entry.described) {
      continue;
    }
    if (entry.described && entry.Unchanged()) {
      result->Unchanged(entry.name, entry.vpn, *entry.record);
    } else {
      result->NotStored(entry.name, entry.vpn, status, reason,
                        entry.described ? entry.record : nullptr, !entry.stored.Absent(),
                        std::move(entry.changes));
    }
  }
  return result->Status();
}

// The run's steps between the move into the executable's directory and the clean-up; returning
// is the way to the clean-up. Answers the run's status.
int Provision(const char* commandLine, CModemSelectDlg* dialog, const CRunLog& log,
              const CRunOptions& options, CRunResult* result) {
  char settingsPath[kSettingsPathCapacity];
  if (!FormFullPath(settingsPath, sizeof settingsPath, kSettingsFileName)) {
    ShowUsage();
    return kRunUsage;
  }

  const int32_t parsed = ParseCommandLine(commandLine);
  // The parse counts a folder as existing, but no entry description is read from one.
  if (parsed != 0 || IsDirectoryPath(g_entryFilePath)) {
    if (g_entryFilePath[0] == '\0') {
      ShowUsage();
      return kRunUsage;
    }
    char message[kMessageCapacity];
    FormatText(message, sizeof message, "%s%s", g_entryFilePath, kFileNotFoundText);
    ShowWarning(message, kFileNotFoundTitle);
    return kRunFileNotFound;
  }
  if (g_mainEntryName[0] == '\0') {
    ShowUsage();
    return kRunUsage;
  }
  const bool vpnWanted = g_vpnEntryName[0] != '\0';
  // The service knows one entry by both names: the VPN entry would replace the dial-up entry.
  if (vpnWanted && TextEqualsIgnoringCase(g_mainEntryName, g_vpnEntryName)) {
    log.Warn({"VPN=\"", g_vpnEntryName, "\" names the entry that CONNECT=\"", g_mainEntryName,
              "\" names: each entry needs a name of its own"});
    ShowUsage();
    return kRunUsage;
  }
  const int asked = vpnWanted ? 2 : 1;
  CPlannedEntry entries[2] = {{g_mainEntryName, false, &g_mainEntry, kMainStoreFailedTitle},
                              {g_vpnEntryName, true, &g_vpnEntry, kVpnStoreFailedTitle}};
  CPlannedEntry& main = entries[0];
  CPlannedEntry& vpn = entries[1];
  // Wiped when the run returns, the stores done.
  CWipedSecrets secrets[2];
  const std::string unusable = ReadRunSecrets(options.secretsFile, log, secrets);
  if (!unusable.empty()) {
    return NoneStored(entries, asked, false, kRunSecretsRefused, unusable.c_str(), result);
  }

  if (!LoadService(log)) {
    return NoneStored(entries, asked, false, kRunServiceNotLoaded,
                      "the remote-access library cannot be loaded", result);
  }

  // The first query only learns the size the service wants; the second one answers.
  CEntryQuery query;
  query.Ask(g_mainEntryName);
  main.stored = ReadStoredEntry(&query, g_mainEntryName);
  if (vpnWanted) {
    vpn.stored = ReadStoredEntry(&query, g_vpnEntryName);
  }
  // A person is asked before the file is read, about every entry the service did not say is
  // absent. A quiet run first reads the file and chooses the devices, so that it asks only about
  // entries that would change.
  if (!options.quiet && !Confirm(!main.stored.Absent() ? main.name : nullptr,
                                 !vpn.stored.Absent() ? vpn.name : nullptr, kOneExistsText,
                                 kBothExistText, kExistsTitle)) {
    return NoneStored(entries, asked, false, kRunExistingKept, kNotConfirmed, result);
  }

  ReadEntryDescription(&g_mainEntry, g_entryFilePath, nullptr);
  main.ReadLaterKeys(nullptr);
  int vpnFlag = vpnWanted && ReadEntryDescription(&g_vpnEntry, g_entryFilePath, kVpnSection) == 1;
  const bool vpnDescribed = vpnFlag != 0;
  if (vpnDescribed) {
    vpn.ReadLaterKeys(kVpnSection);
  }

  CMissingDevice missing;
  main.described = AssignDevices(&g_mainEntry, &g_vpnEntry, &vpnFlag, g_askForDevice, settingsPath,
                                 dialog, options.device.c_str(), &missing) != 0;
  vpn.described = vpnFlag != 0;
  if (vpnWanted && !vpn.described) {
    result->NotStored(vpn.name, true, kRunNoVpnEntry,
                      vpnDescribed ? "no VPN adapter is installed"
                                   : "the entry description file has no VPNEntry section");
  }
  if (!main.described) {
    ReportNoDevice(result, missing, log, options);
  }
  for (CPlannedEntry& entry : entries) {
    if (entry.described) {
      entry.Compare(!options.reportFile.empty());
    }
  }

  // The one question that /overwrite answers for a quiet run.
  if (options.quiet &&
      !Confirm(main.Overwritten() ? main.name : nullptr, vpn.Overwritten() ? vpn.name : nullptr,
               kOneExistsText, kBothExistText, kExistsTitle) &&
      !options.overwrite) {
    return NoneStored(entries, asked, true, kRunExistingKept, kNotConfirmed, result);
  }

  for (CPlannedEntry& entry : entries) {
    if (!entry.described) {
      continue;
    }
    const bool unchanged = entry.Unchanged();
    if (unchanged) {
      result->Unchanged(entry.name, entry.vpn, *entry.record);
    } else if (!StoreEntry(&entry, options.check, result)) {
      if (&entry == &main && vpn.described) {
        result->NotStored(vpn.name, true, kRunStoreRefused, "not tried once the first was refused",
                          vpn.record);
      }
      break;
    } else if (&entry == &main && !options.check &&
               RememberModemSelection(&g_mainEntry, settingsPath)) {
      result->SettingsWritten();
    }
    ApplyCredentials(g_rasLibrary, entry.name, secrets[&entry - entries].value, !unchanged,
                     options.credentialsAlways, options.check, result);
  }
  return result->Status();
}

// The report of a quiet run that memory ran out on; the log of the run in progress.
const CRunLog* g_quietRunLog = nullptr;

void ReportOutOfMemory() {
  if (g_quietRunLog != nullptr) {
    g_quietRunLog->Report({"the run cannot go on: memory ran out"});
    g_quietRunLog->Note({"exit ", std::to_string(kRunOutOfMemory)});
  }
}

}  // namespace

CProvisionApp::CProvisionApp() {
  UseDialogTemplates(FindDialogTemplate);
}

CProvisionApp::~CProvisionApp() = default;

BOOL CProvisionApp::InitInstance() {
  CModemSelectDlg dialog;
  const char* commandLine = CommandLineText();
  if (*commandLine == '\0') {
    ShowUsage();
    return FALSE;
  }

  CRunOptions options = ReadRunOptions(commandLine);
  if (options.quiet) {
    // Before any path is touched: a drive without a disk must not ask a person.
    TurnOffSystemErrorBoxes();
  }
  // A relative log or report lies in the directory the tool was started from.
  char logPath[kDirectoryCapacity] = "";
  if (!options.logFile.empty()) {
    FormFullPath(logPath, sizeof logPath, options.logFile.c_str());
  }
  char reportPath[kDirectoryCapacity] = "-";
  if (!options.reportFile.empty() && options.reportFile != "-") {
    reportPath[0] = '\0';
    FormFullPath(reportPath, sizeof reportPath, options.reportFile.c_str());
  }
  // So is a relative secrets file.
  if (!options.secretsFile.empty() && options.secretsFile != "-") {
    char secretsPath[kDirectoryCapacity] = "";
    FormFullPath(secretsPath, sizeof secretsPath, options.secretsFile.c_str());
    options.secretsFile = secretsPath;
  }
  const CRunLog log(logPath, options.quiet);
  log.Note({"start: ", commandLine});
  std::optional<CEndWhenMemoryRunsOut> memoryEnd;
  if (options.quiet) {
    g_quietRunLog = &log;
    memoryEnd.emplace(kRunOutOfMemory, ReportOutOfMemory);
  }
  for (const CIgnoredWord& ignored : options.ignored) {
    log.Warn({"ignored \"", ignored.word, "\": ", ignored.why});
  }
  // Without these options the run's messages go straight to the window system, and nowhere else.
  std::vector<std::string> shown;
  std::optional<CLoggedWindowSystem> logged;
  if (logPath[0] != '\0' || options.quiet || !options.reportFile.empty()) {
    logged.emplace(log, options.quiet, &shown);
  }

  // The settings file, the work file and a relative INIT are the tool's files directory's:
  // beside the executable, or for a tool installed on POSIX the system's configuration.
  const std::string filesDirectory = ToolFilesDirectory(ExecutableDirectory(HelpFilePath()));
  char savedDirectory[kDirectoryCapacity] = "";
  GetCurrentDirectoryPath(savedDirectory, sizeof savedDirectory);
  CRunResult result(log, options.check, options.remove);
  int status = kRunNoOwnFolder;
  if (EnterFilesDirectory(filesDirectory)) {
    status = options.remove ? RemoveEntries(commandLine, log, options, &result)
                            : Provision(commandLine, &dialog, log, options, &result);
    DeleteFileAtPath(kWorkFileName);
    MoveTo(savedDirectory);
  }
  if (!options.reportFile.empty() &&
      !WriteRunReport(reportPath, FormatRunReport(result, status, shown))) {
    log.Report({"the report could not be written to \"", options.reportFile, "\""});
  }
  exitStatus_ = options.quiet ? status : kRunStoredAll;
  log.Note({"exit ", std::to_string(exitStatus_)});
  g_quietRunLog = nullptr;
  return FALSE;
}

int CProvisionApp::ExitInstance() {
  return exitStatus_;
}
