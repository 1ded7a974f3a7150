// What the fuzz targets share: a scratch folder for the files they hand to the code under test,
// and the check that ends a run, as a finding, when an invariant is broken.
#pragma once

#include <string>
#include <string_view>

// The scratch folder: made on first use, in /dev/shm where there is one (so that the files of a
// million inputs cost no disk and their flushes are free), and removed when the process exits.
const std::string& ScratchFolder();

// Makes `bytes` the whole content of `name` in the scratch folder; returns the file's full path.
std::string WriteScratchFile(const char* name, std::string_view bytes);

// The whole content of a file; empty when there is none.
std::string ReadWholeFile(const std::string& path);

[[noreturn]] void FailCheck(const char* condition, const char* file, int line);

// Stops the run with a report; libFuzzer then saves the input as a finding.
#define FUZZ_CHECK(condition) \
  ((condition) ? static_cast<void>(0) : FailCheck(#condition, __FILE__, __LINE__))
