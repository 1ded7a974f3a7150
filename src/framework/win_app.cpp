// The application class and the start of the application object.
#include "framework/win_app.h"

namespace {

CWinApp* g_application = nullptr;

// The position where the file name of `path` begins: after the last separator of either
// platform's kind.
size_t FileNameStart(const std::string& path) {
  const size_t separator = path.find_last_of("\\/");
  return separator == std::string::npos ? 0 : separator + 1;
}

// The position where the extension of the file name begins (its dot), or the end of the path.
// Only a dot in the file name starts an extension: a dot in a directory name must not cut the
// path short.
size_t ExtensionStart(const std::string& path) {
  const size_t dot = path.rfind('.');
  return dot != std::string::npos && dot >= FileNameStart(path) ? dot : path.size();
}

}  // namespace

CWinApp::CWinApp(const char* appName) : appName_(appName != nullptr ? appName : "") {
  g_application = this;
}

CWinApp::~CWinApp() {
  if (g_application == this) {
    g_application = nullptr;
  }
}

BOOL CWinApp::InitInstance() {
  return TRUE;
}

int CWinApp::ExitInstance() {
  return 0;
}

CWinApp* CurrentApplication() {
  return g_application;
}

std::string HelpFilePathFor(const char* executablePath) {
  const std::string path = executablePath != nullptr ? executablePath : "";
  return path.empty() ? path : path.substr(0, ExtensionStart(path)) + ".HLP";
}

int RunApplication(const char* commandLineText, const char* executablePath) {
  CWinApp* application = g_application;
  if (application == nullptr) {
    return -1;
  }
  const std::string path = executablePath != nullptr ? executablePath : "";
  application->commandLineText_ = commandLineText != nullptr ? commandLineText : "";
  application->helpFilePath_ = HelpFilePathFor(path.c_str());
  if (application->appName_.empty()) {
    const size_t start = FileNameStart(path);
    application->appName_ = path.substr(start, ExtensionStart(path) - start);
  }
  application->InitInstance();
  return application->ExitInstance();
}
