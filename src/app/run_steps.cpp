// The steps both runs share.
#include "app/run_steps.h"

#include <string>

#include "base/text.h"
#include "framework/window_system.h"
#include "platform/paths.h"
#include "ras/ras_library.h"

namespace {

constexpr char kLoadFailedText[] = "Error loading RAS Api!";
constexpr char kLoadFailedTitle[] = "DIALKIT";
constexpr char kNoOwnFolderText[] =
    "DIALKIT cannot work in its folder \"%s\", where it keeps its files.  Nothing was read or "
    "stored.";
constexpr char kNoOwnFolderTitle[] = "Folder Not Usable";

// Drive numbers count from 1 for A. A directory without a drive letter gives a number the
// platform refuses, which is all the run needs: it does not look at the result.
int DriveOf(const char* directory) {
  return FoldLetterCase(directory[0]) - 'A' + 1;
}

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

}  // namespace

void ShowWarning(const char* text, const char* title) {
  ShowMessageBox(text, title, MB_ICONWARNING | MB_OK);
}

bool MoveTo(const char* directory) {
  if (!SetCurrentDirectoryPath(directory)) {
    return false;
  }
  SetCurrentDrive(DriveOf(directory));
  return true;
}

bool EnterFilesDirectory(const std::string& directory) {
  if (MoveTo(directory.c_str())) {
    return true;
  }
  char message[kMessageCapacity];
  FormatText(message, sizeof message, kNoOwnFolderText, directory.c_str());
  ShowWarning(message, kNoOwnFolderTitle);
  return false;
}

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

bool LoadService(const CRunLog& log) {
  const uint32_t loaded = g_rasLibrary.Load(nullptr, nullptr);
  if (loaded != 0) {
    ShowMessageBox(kLoadFailedText, kLoadFailedTitle, MB_OK);
    log.Report({LoadFailure(loaded)});
  }
  return loaded == 0;
}

uint32_t CEntryQuery::Ask(const char* entryName) {
  if (size_ > capacity_) {
    if (RecordPointer larger{static_cast<RASENTRYA*>(std::calloc(1, size_))}) {
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

CStoredEntry ReadStoredEntry(CEntryQuery* query, const char* entryName) {
  CStoredEntry stored;
  stored.answer = query->Ask(entryName);
  if (stored.answer == 0) {
    stored.record = query->Record();
  }
  return stored;
}
