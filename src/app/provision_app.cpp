// The provisioning run. Every way out after the move into the executable's directory passes
// through one clean-up: the work file is deleted and the directory the tool was started in is
// made current again.
#include "app/provision_app.h"

#include <cctype>
#include <cstdlib>
#include <cstring>
#include <memory>
#include <string>

#include "app/command_line.h"
#include "app/settings_file.h"
#include "device/device_assignment.h"
#include "entry/entry_reader.h"
#include "entry/entry_record.h"
#include "framework/text.h"
#include "framework/window_system.h"
#include "platform/file_system.h"
#include "ras/ras_library.h"

namespace {

constexpr char kUsageText[] = "Usage is: DIALKIT INIT=\"myfile.ini\" CONNECT=\"connectoid\" [ASK]";
constexpr char kUsageTitle[] = "DIALKIT Usage Notice";
constexpr char kFileNotFoundText[] = " does not exist.  Please check the file name.";
constexpr char kFileNotFoundTitle[] = "File Not Found";
constexpr char kLoadFailedText[] = "Error loading RAS Api!";
constexpr char kLoadFailedTitle[] = "DIALKIT";
constexpr char kOneExistsText[] =
    "The connectiod \"%s\" already exists.\nDo you want to overwrite it?";
constexpr char kBothExistText[] =
    "The connectiods \"%s\" and \"%s\" already exist.\nDo you want to overwrite them?";
constexpr char kExistsTitle[] = "Object Already Exists";
constexpr char kStoreFailedText[] = "Error %u creating connection object \"%s\"";
constexpr char kMainStoreFailedTitle[] = "Failed to Set Connection Object";
constexpr char kVpnStoreFailedTitle[] = "Failed to Set VPN Connection Object";

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
  return std::toupper(static_cast<unsigned char>(directory[0])) - 'A' + 1;
}

void MoveTo(const char* directory) {
  SetCurrentDirectoryPath(directory);
  SetCurrentDrive(DriveOf(directory));
}

// The run's query record and query size. An answer may report that an entry needs more than the
// record's 1768 bytes, and the next query passes that size on; the record then grows to it, so
// that no answer is ever written past its end. Only whether a query succeeds is used.
class CEntryQuery {
 public:
  CEntryQuery() : record_(Allocate(kEntryRecordSize)), capacity_(kEntryRecordSize) {}

  // Asks with the record's size field set to the query size as the last query left it.
  bool Exists(const char* entryName) {
    if (size_ > capacity_) {
      if (RecordPointer larger = Allocate(size_)) {
        record_ = std::move(larger);
        capacity_ = size_;
      } else {
        size_ = capacity_;
      }
    }
    if (record_ == nullptr) {
      return false;
    }
    record_->dwSize = size_;
    return g_rasLibrary.GetEntryProperties(entryName, record_.get(), &size_, nullptr, nullptr) == 0;
  }

 private:
  struct Free {
    void operator()(RASENTRYA* record) const { std::free(record); }
  };
  using RecordPointer = std::unique_ptr<RASENTRYA, Free>;

  static RecordPointer Allocate(DWORD size) {
    return RecordPointer(static_cast<RASENTRYA*>(std::calloc(1, size)));
  }

  RecordPointer record_;
  DWORD capacity_;
  DWORD size_ = kEntryRecordSize;
};

// Asks before existing entries are overwritten; false when the user cancels.
bool ConfirmOverwrite(bool mainExists, bool vpnExists) {
  char question[kMessageCapacity];
  if (mainExists && vpnExists) {
    FormatText(question, sizeof question, kBothExistText, g_mainEntryName, g_vpnEntryName);
  } else if (mainExists || vpnExists) {
    FormatText(question, sizeof question, kOneExistsText,
               mainExists ? g_mainEntryName : g_vpnEntryName);
  } else {
    return true;
  }
  return ShowMessageBox(question, kExistsTitle, MB_ICONWARNING | MB_OKCANCEL) != IDCANCEL;
}

// Stores one entry with exactly its 1768 bytes; on failure tells the user the service's code.
bool StoreEntry(const char* entryName, RASENTRYA* entry, const char* failureTitle) {
  entry->dwSize = kEntryRecordSize;
  const uint32_t result =
      g_rasLibrary.SetEntryProperties(entryName, entry, kEntryRecordSize, nullptr, 0);
  if (result != 0) {
    char message[kMessageCapacity];
    FormatText(message, sizeof message, kStoreFailedText, static_cast<unsigned>(result), entryName);
    ShowWarning(message, failureTitle);
  }
  return result == 0;
}

// The run's steps between the move into the executable's directory and the clean-up; returning
// is the way to the clean-up.
void Provision(const char* commandLine, CModemSelectDlg* dialog) {
  char settingsPath[kSettingsPathCapacity];
  if (!FormFullPath(settingsPath, sizeof settingsPath, kSettingsFileName)) {
    ShowUsage();
    return;
  }

  if (ParseCommandLine(commandLine) != 0) {
    if (g_entryFilePath[0] == '\0') {
      ShowUsage();
    } else {
      char message[kMessageCapacity];
      FormatText(message, sizeof message, "%s%s", g_entryFilePath, kFileNotFoundText);
      ShowWarning(message, kFileNotFoundTitle);
    }
    return;
  }
  if (g_mainEntryName[0] == '\0') {
    ShowUsage();
    return;
  }
  const bool vpnWanted = g_vpnEntryName[0] != '\0';

  if (g_rasLibrary.Load(nullptr, nullptr) != 0) {
    ShowMessageBox(kLoadFailedText, kLoadFailedTitle, MB_OK);
    return;
  }

  // The first query only learns the size the service wants; the second one answers.
  CEntryQuery query;
  query.Exists(g_mainEntryName);
  const bool mainExists = query.Exists(g_mainEntryName);
  const bool vpnExists = vpnWanted && query.Exists(g_vpnEntryName);
  if (!ConfirmOverwrite(mainExists, vpnExists)) {
    return;
  }

  ReadEntryDescription(&g_mainEntry, g_entryFilePath, nullptr);
  int vpnFlag = vpnWanted && ReadEntryDescription(&g_vpnEntry, g_entryFilePath, kVpnSection) == 1;

  const int mainFlag =
      AssignDevices(&g_mainEntry, &g_vpnEntry, &vpnFlag, g_askForDevice, settingsPath, dialog);

  if (mainFlag) {
    if (!StoreEntry(g_mainEntryName, &g_mainEntry, kMainStoreFailedTitle)) {
      return;
    }
    WriteModemSelection(&g_mainEntry, settingsPath);
  }
  if (vpnFlag) {
    StoreEntry(g_vpnEntryName, &g_vpnEntry, kVpnStoreFailedTitle);
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

  const std::string executableDirectory = ExecutableDirectory(HelpFilePath());
  char savedDirectory[kDirectoryCapacity] = "";
  GetCurrentDirectoryPath(savedDirectory, sizeof savedDirectory);
  MoveTo(executableDirectory.c_str());

  Provision(commandLine, &dialog);

  DeleteFileAtPath(kWorkFileName);
  MoveTo(savedDirectory);
  return FALSE;
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
