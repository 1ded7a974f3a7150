// The steps both runs share.
#include "app/run_steps.h"

#include <string>

#include "base/text.h"
#include "framework/window_system.h"
#include "platform/library_loader.h"
#include "platform/result_codes.h"
#include "ras/ras_library.h"

namespace {

constexpr char kUsageText[] = "Usage is: DIALKIT INIT=\"myfile.ini\" CONNECT=\"connectoid\" [ASK]";
constexpr char kUsageTitle[] = "DIALKIT Usage Notice";
constexpr char kLoadFailedText[] = "Error loading RAS Api!";
constexpr char kLoadFailedTitle[] = "DIALKIT";

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

int ShowUsage() {
  return ShowMessageBox(kUsageText, kUsageTitle, MB_ICONWARNING | MB_OK);
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
