// Replacing a whole file so that no crash can lose it: the new content is written to a
// temporary file beside it, flushed to the disk, and renamed over the old one, so that the file
// holds either all of the old content or all of the new, never a part.
#pragma once

#include <string>

// Makes `bytes` the content of the file at `path`, creating the file when missing. The folder
// must exist. On failure the file is left as it was and no temporary file remains.
bool ReplaceFileContents(const char* path, const std::string& bytes);
