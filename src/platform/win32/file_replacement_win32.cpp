// Replacing a file on Windows: write, FlushFileBuffers, then MoveFileEx with replacement and
// write-through, which replaces the old file in one step.
#include <windows.h>

#include <string>

#include "platform/file_replacement.h"

ReplacementStepFilter g_replacementStepFilter = nullptr;

namespace {

bool StepAllowed(ReplacementStep step, const char* path) {
  return g_replacementStepFilter == nullptr || g_replacementStepFilter(step, path);
}

}  // namespace

bool ReplaceFileContents(const char* path, const std::string& bytes) {
  if (!StepAllowed(ReplacementStep::kCreateTemporary, path)) {
    return false;
  }
  // One temporary name per process: two processes that store at once do not write into each
  // other's temporary file; the last move wins whole.
  const std::string temporary =
      std::string(path) + "." + std::to_string(GetCurrentProcessId()) + ".new";
  const HANDLE file = CreateFileA(temporary.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS,
                                  FILE_ATTRIBUTE_NORMAL, nullptr);
  if (file == INVALID_HANDLE_VALUE) {
    return false;
  }
  DWORD written = 0;
  const bool complete =
      StepAllowed(ReplacementStep::kWrite, path) &&
      (bytes.empty() ||
       (WriteFile(file, bytes.data(), static_cast<DWORD>(bytes.size()), &written, nullptr) &&
        written == bytes.size())) &&
      StepAllowed(ReplacementStep::kFlush, path) && FlushFileBuffers(file);
  CloseHandle(file);
  if (!complete || !StepAllowed(ReplacementStep::kRename, path) ||
      !MoveFileExA(temporary.c_str(), path, MOVEFILE_REPLACE_EXISTING | MOVEFILE_WRITE_THROUGH)) {
    DeleteFileA(temporary.c_str());
    return false;
  }
  StepAllowed(ReplacementStep::kReplaced, path);
  return true;
}
