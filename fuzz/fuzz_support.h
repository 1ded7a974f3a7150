// What the fuzz targets share: a scratch folder for the files they hand to the code under test,
// a check of a record's texts, and the check that ends a run, as a finding, when an invariant is
// broken.
#pragma once

#include <string>
#include <string_view>

#include "entry/entry_record.h"

// The scratch folder: made on first use, in /dev/shm where there is one (so that the files of a
// million inputs cost no disk and their flushes are free), and removed when the process exits.
const std::string& ScratchFolder();

// Makes `bytes` the whole content of `name` in the scratch folder; returns the file's full path.
std::string WriteScratchFile(const char* name, std::string_view bytes);

// True when every text field of the record ends with a zero inside its width and, when
// `zerosAfter`, holds nothing but zeros after it.
bool TextFieldsEnd(const RASENTRYA& entry, bool zerosAfter);

[[noreturn]] void FailCheck(const char* condition, const char* file, int line);

// Stops the run with a report; libFuzzer then saves the input as a finding.
#define FUZZ_CHECK(condition) \
  ((condition) ? static_cast<void>(0) : FailCheck(#condition, __FILE__, __LINE__))
