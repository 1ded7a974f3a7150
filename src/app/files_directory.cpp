// Finding the tool's files directory and moving into it and back.
#include "app/files_directory.h"

#include "app/run_steps.h"
#include "base/text.h"
#include "platform/paths.h"

namespace {

constexpr char kNoOwnFolderText[] =
    "DIALKIT cannot work in its folder \"%s\", where it keeps its files.  Nothing was read or "
    "stored.";
constexpr char kNoOwnFolderTitle[] = "Folder Not Usable";

// Drive numbers count from 1 for A. A directory without a drive letter gives a number the
// platform refuses, which is all the run needs: it does not look at the result.
int DriveOf(const char* directory) {
  return FoldLetterCase(directory[0]) - 'A' + 1;
}

}  // namespace

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
