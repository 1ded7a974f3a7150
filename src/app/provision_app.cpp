// The provisioning run, and the removal run of /remove. Every way out after the move into the
// executable's directory passes through one clean-up: the work file is deleted and the directory
// the tool was started in is made current again. Every entry asked for is logged as stored (or
// removed) or as not stored (or not removed) with the reason, which also decides the exit status
// of a quiet run.
#include "app/provision_app.h"

#include <algorithm>
#include <cstdlib>
#include <cstring>
#include <memory>
#include <optional>
#include <string>
#include <string_view>

#include "app/command_line.h"
#include "app/run_log.h"
#include "app/settings_file.h"
#include "device/device_assignment.h"
#include "entry/entry_reader.h"
#include "entry/entry_record.h"
#include "framework/memory_end.h"
#include "framework/text.h"
#include "framework/window_system.h"
#include "platform/paths.h"
#include "platform/result_codes.h"
#include "platform/system_info.h"
#include "ras/ras_library.h"

namespace {

constexpr char kUsageText[] = "Usage is: DIALKIT INIT=\"myfile.ini\" CONNECT=\"connectoid\" [ASK]";
constexpr char kUsageTitle[] = "DIALKIT Usage Notice";
constexpr char kFileNotFoundText[] = " does not exist.  Please check the file name.";
constexpr char kFileNotFoundTitle[] = "File Not Found";
constexpr char kLoadFailedText[] = "Error loading RAS Api!";
constexpr char kLoadFailedTitle[] = "DIALKIT";
constexpr char kNoOwnFolderText[] =
    "DIALKIT cannot work in its folder \"%s\", where it keeps its files.  Nothing was read or "
    "stored.";
constexpr char kNoOwnFolderTitle[] = "Folder Not Usable";
constexpr char kOneExistsText[] =
    "The connectiod \"%s\" already exists.\nDo you want to overwrite it?";
constexpr char kBothExistText[] =
    "The connectiods \"%s\" and \"%s\" already exist.\nDo you want to overwrite them?";
constexpr char kExistsTitle[] = "Object Already Exists";
constexpr char kStoreFailedText[] = "Error %u creating connection object \"%s\"";
constexpr char kMainStoreFailedTitle[] = "Failed to Set Connection Object";
constexpr char kVpnStoreFailedTitle[] = "Failed to Set VPN Connection Object";
constexpr char kRemoveOneText[] =
    "The connection object \"%s\" will be removed.\nDo you want to remove it?";
constexpr char kRemoveBothText[] =
    "The connection objects \"%s\" and \"%s\" will be removed.\nDo you want to remove them?";
constexpr char kRemoveTitle[] = "Remove Connection Object";
constexpr char kRemoveFailedText[] = "Error %u removing connection object \"%s\"";
constexpr char kMainRemoveFailedTitle[] = "Failed to Remove Connection Object";
constexpr char kVpnRemoveFailedTitle[] = "Failed to Remove VPN Connection Object";

constexpr char kSettingsFileName[] = "dialkit.ini";
constexpr char kWorkFileName[] = "dialkit.wrk";
constexpr char kVpnSection[] = "VPNEntry";

// Room for the longest path of either platform, so that neither directory the run moves between
// is ever cut: a cut directory would send the settings file and a relative INIT elsewhere.
constexpr size_t kDirectoryCapacity = 4096;
constexpr size_t kSettingsPathCapacity = 340;
// Room for a message with two names or a path of 339 characters each.
constexpr size_t kMessageCapacity = 1024;

// The entries to store; they live until the process ends.
RASENTRYA g_mainEntry;
RASENTRYA g_vpnEntry;

void ShowWarning(const char* text, const char* title) {
  ShowMessageBox(text, title, MB_ICONWARNING | MB_OK);
}

// Drive numbers count from 1 for A. A directory without a drive letter gives a number the
// platform refuses, which is all the run needs: it does not look at the result.
int DriveOf(const char* directory) {
  return FoldLetterCase(directory[0]) - 'A' + 1;
}

// False when the directory cannot be made current; the drive is then left as it is.
bool MoveTo(const char* directory) {
  if (!SetCurrentDirectoryPath(directory)) {
    return false;
  }
  SetCurrentDrive(DriveOf(directory));
  return true;
}

// The run's query record and query size. An answer may report that an entry needs more than the
// record's 1768 bytes, and the next query passes that size on; the record then grows to it, so
// that no answer is ever written past its end. Only the result of a query is used. The first
// record needs no allocation, so that a query is always asked: a run short of memory must not
// take "no answer" for "no such entry" and replace an entry without the question.
class CEntryQuery {
 public:
  // Only the service's own "no such entry" means that the entry is not there. Any other refusal
  // (a phone book that cannot be opened, a record size the service does not know) leaves it
  // there as far as the run can tell, so that it is replaced only when that was asked for.
  bool Exists(const char* entryName) { return Ask(entryName) != ERROR_CANNOT_FIND_PHONEBOOK_ENTRY; }

  // The service's answer, asked with the record's size field set to the query size as the last
  // query left it, or, when a larger record cannot be had, to the size of the one there is.
  uint32_t Ask(const char* entryName) {
    if (size_ > capacity_) {
      if (RecordPointer larger = Allocate(size_)) {
        grown_ = std::move(larger);
        capacity_ = size_;
      } else {
        size_ = capacity_;
      }
    }
    RASENTRYA* record = grown_ != nullptr ? grown_.get() : &first_;
    record->dwSize = size_;
    return g_rasLibrary.GetEntryProperties(entryName, record, &size_, nullptr, nullptr);
  }

 private:
  struct Free {
    void operator()(RASENTRYA* record) const { std::free(record); }
  };
  using RecordPointer = std::unique_ptr<RASENTRYA, Free>;

  static RecordPointer Allocate(DWORD size) {
    return RecordPointer(static_cast<RASENTRYA*>(std::calloc(1, size)));
  }

  RASENTRYA first_ = {};
  RecordPointer grown_;
  DWORD capacity_ = kEntryRecordSize;
  DWORD size_ = kEntryRecordSize;
};

// What became of the entries asked for, in the log, and the status of a quiet run: the smallest
// code of the ways the run fell short.
class CRunResult {
 public:
  explicit CRunResult(const CRunLog& log) : log_(log) {}

  void Stored(const char* entryName, const RASENTRYA& entry) const {
    log_.Note({"stored \"", entryName, "\" on ", FieldText(entry.szDeviceType), " \"",
               FieldText(entry.szDeviceName), "\""});
  }
  void NotStored(const char* entryName, int status, std::string_view reason) {
    FellShort({"not stored \"", entryName, "\": ", reason}, status);
  }
  void Removed(const char* entryName, bool wasThere) const {
    log_.Note({wasThere ? "removed \"" : "not there, so nothing to remove: \"", entryName, "\""});
  }
  void NotRemoved(const char* entryName, int status, std::string_view reason) {
    FellShort({"not removed \"", entryName, "\": ", reason}, status);
  }
  int Status() const { return status_; }

 private:
  void FellShort(std::initializer_list<std::string_view> event, int status) {
    log_.Report(event);
    status_ = status_ == kRunStoredAll ? status : std::min(status_, status);
  }

  const CRunLog& log_;
  int status_ = kRunStoredAll;
};

// Where the libraries were looked for, when Load has refused with `code`.
std::string LoadFailure(uint32_t code) {
  const bool alternative = code == kAltRasLibraryNotLoaded;
  std::string text =
      alternative ? "rasapi32.dll was loaded, but altras.dll, which UseAltras in section "
                    "[Libraries] of win.ini or a rasapi32.dll without RasGetEntryPropertiesA "
                    "calls for, could not be loaded or lacks RasGetEntryPropertiesA; looked for"
                  : "rasapi32.dll could not be loaded; looked for";
  const char* separator = " at ";
  for (const std::string& path : LibrarySearchPaths(alternative ? "altras.dll" : "rasapi32.dll")) {
    text += separator + ("\"" + path + "\"");
    separator = ", then ";
  }
  return text;
}

// Why the main entry got no device. Device assignment hands the dialog the device list only when
// a choice is needed, so a dialog without one means that no device is installed. A quiet run
// opens no dialog, so the log tells how a device is chosen for it beforehand.
void ReportNoDevice(CRunResult* result, const CModemSelectDlg& dialog, const CRunLog& log,
                    const CRunOptions& options) {
  if (dialog.devices == nullptr || dialog.deviceCount == 0) {
    result->NotStored(g_mainEntryName, kRunNoDevice, "no device is installed");
    return;
  }
  const char* wanted = options.device.c_str();
  const CDeviceMatch match = FindNamedDevice(dialog.devices, dialog.deviceCount, wanted);
  const bool several = !options.device.empty() && match.count > 1;
  const std::string deviceNote =
      options.device.empty() ? ""
      : several ? "/device:" + options.device + " matches " + std::to_string(match.count) +
                      " devices by " + (match.field == DeviceField::kName ? "name" : "type")
                : "/device:" + options.device + " matches no installed device by name or type";
  if (!options.quiet) {
    result->NotStored(g_mainEntryName, kRunNoDevice,
                      deviceNote.empty() ? "no device was chosen in the dialog"
                                         : deviceNote + ", and no device was chosen in the dialog");
    return;
  }
  result->NotStored(g_mainEntryName, kRunNoDevice,
                    deviceNote.empty() ? "a device must be chosen, and a quiet run asks nobody"
                                       : deviceNote + ", and a quiet run asks nobody");
  for (uint32_t i = 0; i < dialog.deviceCount; ++i) {
    const RASDEVINFOA& device = dialog.devices[i];
    if (!several || DeviceIs(device, wanted, match.field)) {
      log.Report({several ? "matching device: " : "installed device: ",
                  FieldText(device.szDeviceType), " \"", FieldText(device.szDeviceName), "\""});
    }
  }
  // The run stands in the tool's files directory, where the settings file belongs.
  char here[kDirectoryCapacity] = "";
  GetCurrentDirectoryPath(here, sizeof here);
  log.Report({"to choose one, name it with /device:NAME or /device:TYPE, or place dialkit.ini in ",
              here, " with section [Modem Selection], keys DeviceType and DeviceName ",
              "(for instance DeviceType=", FieldText(dialog.devices[0].szDeviceType),
              " and DeviceName=", FieldText(dialog.devices[0].szDeviceName), ")",
              g_askForDevice ? ", and leave out ASK=0" : ""});
}

// Asks whether the named entries may go, one or both (a null name is not asked about): true when
// neither is named or the answer is OK. In a quiet run the window system logs the question and
// answers Cancel.
bool Confirm(const char* first, const char* second, const char* oneText, const char* bothText,
             const char* title) {
  char question[kMessageCapacity];
  if (first != nullptr && second != nullptr) {
    FormatText(question, sizeof question, bothText, first, second);
  } else if (first != nullptr || second != nullptr) {
    FormatText(question, sizeof question, oneText, first != nullptr ? first : second);
  } else {
    return true;
  }
  return ShowMessageBox(question, title, MB_ICONWARNING | MB_OKCANCEL) != IDCANCEL;
}

// Loads the remote-access library; when it cannot, tells the user and logs where it was looked
// for.
bool LoadService(const CRunLog& log) {
  const uint32_t loaded = g_rasLibrary.Load(nullptr, nullptr);
  if (loaded != 0) {
    ShowMessageBox(kLoadFailedText, kLoadFailedTitle, MB_OK);
    log.Report({LoadFailure(loaded)});
  }
  return loaded == 0;
}

// Stores one entry with exactly its 1768 bytes; on failure tells the user the service's code.
bool StoreEntry(const char* entryName, RASENTRYA* entry, const char* failureTitle,
                CRunResult* result) {
  entry->dwSize = kEntryRecordSize;
  const uint32_t code =
      g_rasLibrary.SetEntryProperties(entryName, entry, kEntryRecordSize, nullptr, 0);
  if (code != 0) {
    char message[kMessageCapacity];
    FormatText(message, sizeof message, kStoreFailedText, static_cast<unsigned>(code), entryName);
    ShowWarning(message, failureTitle);
    result->NotStored(entryName, kRunStoreRefused,
                      "the service refused it with error " + std::to_string(code));
    return false;
  }
  result->Stored(entryName, *entry);
  return true;
}

// The run's steps between the move into the executable's directory and the clean-up; returning
// is the way to the clean-up. Answers the run's status.
int Provision(const char* commandLine, CModemSelectDlg* dialog, const CRunLog& log,
              const CRunOptions& options) {
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
  CRunResult result(log);
  const auto neitherStored = [&](int status, const char* reason) {
    result.NotStored(g_mainEntryName, status, reason);
    if (vpnWanted) {
      result.NotStored(g_vpnEntryName, status, reason);
    }
    return result.Status();
  };

  if (!LoadService(log)) {
    return neitherStored(kRunServiceNotLoaded, "the remote-access library cannot be loaded");
  }

  // The first query only learns the size the service wants; the second one answers.
  CEntryQuery query;
  query.Exists(g_mainEntryName);
  const bool mainExists = query.Exists(g_mainEntryName);
  const bool vpnExists = vpnWanted && query.Exists(g_vpnEntryName);
  // The one question that /overwrite answers for a quiet run.
  if (!Confirm(mainExists ? g_mainEntryName : nullptr, vpnExists ? g_vpnEntryName : nullptr,
               kOneExistsText, kBothExistText, kExistsTitle) &&
      !(options.quiet && options.overwrite)) {
    return neitherStored(kRunExistingKept, "the overwrite of existing entries was not confirmed");
  }

  ReadEntryDescription(&g_mainEntry, g_entryFilePath, nullptr);
  int vpnFlag = vpnWanted && ReadEntryDescription(&g_vpnEntry, g_entryFilePath, kVpnSection) == 1;
  const bool vpnDescribed = vpnFlag != 0;

  const int mainFlag = AssignDevices(&g_mainEntry, &g_vpnEntry, &vpnFlag, g_askForDevice,
                                     settingsPath, dialog, options.device.c_str());
  if (vpnWanted && !vpnFlag) {
    result.NotStored(g_vpnEntryName, kRunNoVpnEntry,
                     vpnDescribed ? "no VPN adapter is installed"
                                  : "the entry description file has no VPNEntry section");
  }

  if (!mainFlag) {
    ReportNoDevice(&result, *dialog, log, options);
  } else if (StoreEntry(g_mainEntryName, &g_mainEntry, kMainStoreFailedTitle, &result)) {
    WriteModemSelection(&g_mainEntry, settingsPath);
  } else {
    if (vpnFlag) {
      result.NotStored(g_vpnEntryName, kRunStoreRefused, "not tried once the first was refused");
    }
    return result.Status();
  }
  if (vpnFlag) {
    StoreEntry(g_vpnEntryName, &g_vpnEntry, kVpnStoreFailedTitle, &result);
  }
  return result.Status();
}

// The removal run of /remove: deletes the entries named by CONNECT and VPN. No entry description
// file is read and the settings file is left as it is. An entry that is not there counts as
// removed, since an uninstaller may run again after a failed uninstall. An entry is taken for
// absent only when the service says so; any other failed query leaves the answer to the deletion
// itself, so that no entry is left behind under a report of success. Answers the run's status.
int RemoveEntries(const char* commandLine, const CRunLog& log, const CRunOptions& options) {
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
  CRunResult result(log);
  const auto noneRemoved = [&](int status, const char* reason, const bool(&which)[2]) {
    for (int i = 0; i < 2; ++i) {
      if (which[i]) {
        result.NotRemoved(names[i], status, reason);
      }
    }
    return result.Status();
  };

  const bool named[] = {names[0] != nullptr, names[1] != nullptr};
  if (!LoadService(log)) {
    return noneRemoved(kRunServiceNotLoaded, "the remote-access library cannot be loaded", named);
  }
  // As in the provisioning run, the first query only learns the size the service wants.
  CEntryQuery query;
  query.Ask(names[0] != nullptr ? names[0] : names[1]);
  const auto mayExist = [&](int i) {
    return named[i] && query.Ask(names[i]) != ERROR_CANNOT_FIND_PHONEBOOK_ENTRY;
  };
  const bool there[] = {mayExist(0), mayExist(1)};
  for (int i = 0; i < 2; ++i) {
    if (named[i] && !there[i]) {
      result.Removed(names[i], false);
    }
  }
  // Only a person is asked; a quiet run was told to remove by its command line.
  if (!options.quiet && !Confirm(there[0] ? names[0] : nullptr, there[1] ? names[1] : nullptr,
                                 kRemoveOneText, kRemoveBothText, kRemoveTitle)) {
    return noneRemoved(kRunExistingKept, "the removal was not confirmed", there);
  }
  for (int i = 0; i < 2; ++i) {
    if (!there[i]) {
      continue;
    }
    const uint32_t code = g_rasLibrary.DeleteEntry(names[i]);
    if (code == 0 || code == ERROR_CANNOT_FIND_PHONEBOOK_ENTRY) {
      result.Removed(names[i], code == 0);
      continue;
    }
    char message[kMessageCapacity];
    FormatText(message, sizeof message, kRemoveFailedText, static_cast<unsigned>(code), names[i]);
    ShowWarning(message, failureTitles[i]);
    result.NotRemoved(names[i], kRunStoreRefused,
                      "the service refused it with error " + std::to_string(code));
  }
  return result.Status();
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

CProvisionApp::CProvisionApp() = default;

CProvisionApp::~CProvisionApp() = default;

BOOL CProvisionApp::InitInstance() {
  CModemSelectDlg dialog;
  const char* commandLine = CommandLineText();
  if (*commandLine == '\0') {
    ShowUsage();
    return FALSE;
  }

  const CRunOptions options = ReadRunOptions(commandLine);
  if (options.quiet) {
    // Before any path is touched: a drive without a disk must not ask a person.
    TurnOffSystemErrorBoxes();
  }
  // A relative log file lies in the directory the tool was started from.
  char logPath[kDirectoryCapacity] = "";
  if (!options.logFile.empty()) {
    FormFullPath(logPath, sizeof logPath, options.logFile.c_str());
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
  // Without either option the run shows what it shows, exactly as ever.
  std::optional<CLoggedWindowSystem> logged;
  if (logPath[0] != '\0' || options.quiet) {
    logged.emplace(log, options.quiet);
  }

  // The settings file, the work file and a relative INIT are the tool's files directory's:
  // beside the executable, or for a tool installed on POSIX the system's configuration.
  const std::string filesDirectory = ToolFilesDirectory(ExecutableDirectory(HelpFilePath()));
  char savedDirectory[kDirectoryCapacity] = "";
  GetCurrentDirectoryPath(savedDirectory, sizeof savedDirectory);
  int status = kRunNoOwnFolder;
  if (MoveTo(filesDirectory.c_str())) {
    status = options.remove ? RemoveEntries(commandLine, log, options)
                            : Provision(commandLine, &dialog, log, options);
    DeleteFileAtPath(kWorkFileName);
    MoveTo(savedDirectory);
  } else {
    // Anywhere else, a relative INIT and the settings file would be whatever lies in the
    // directory the tool was started in: a downloads folder would supply both.
    char message[kMessageCapacity];
    FormatText(message, sizeof message, kNoOwnFolderText, filesDirectory.c_str());
    ShowWarning(message, kNoOwnFolderTitle);
  }
  exitStatus_ = options.quiet ? status : kRunStoredAll;
  log.Note({"exit ", std::to_string(exitStatus_)});
  g_quietRunLog = nullptr;
  return FALSE;
}

int CProvisionApp::ExitInstance() {
  return exitStatus_;
}

int ShowUsage() {
  return ShowMessageBox(kUsageText, kUsageTitle, MB_ICONWARNING | MB_OK);
}

std::string ExecutableDirectory(const char* helpFilePath) {
  std::string directory = helpFilePath;
  size_t end = directory.size();
  while (end > 0 && !IsPathSeparator(directory[end - 1])) {
    --end;
  }
  directory.resize(end);
  if (!directory.empty() && !IsRootDirectory(directory.c_str())) {
    directory.pop_back();
  }
  return directory;
}
