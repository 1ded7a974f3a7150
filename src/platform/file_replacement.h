// Replacing a whole file so that no crash can lose it: the new content is written to a
// temporary file beside it, flushed to the disk, and renamed over the old one, so that the file
// holds either all of the old content or all of the new, never a part.
#pragma once

#include <string>

// Makes `bytes` the content of the file at `path`, creating the file when missing. The folder
// must exist, and what exists under `path` must be a file: a folder, a device or a pipe is left
// alone. On failure the file is left as it was and no temporary file remains.
bool ReplaceFileContents(const char* path, const std::string& bytes);

// The steps of a replacement, in order. Tests stop a writer between two of them, or make one
// fail as a read-only folder or a full disk would.
enum class ReplacementStep {
  kCreateTemporary,  // the temporary file beside the target
  kWrite,            // the new content into it
  kFlush,            // it onto the disk
  kRename,           // it over the target
  kReplaced,         // done: the target holds the new content (the folder is flushed next)
};

// Called before each step with the target's path; false makes that step fail (at kReplaced,
// where nothing can fail any more, the answer is ignored). Null, as in the tool, lets every step
// run; only tests set it.
using ReplacementStepFilter = bool (*)(ReplacementStep step, const char* path);
extern ReplacementStepFilter g_replacementStepFilter;
