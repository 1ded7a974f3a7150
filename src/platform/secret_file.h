// Reading a file of secrets whole into a buffer that wipes itself, and nowhere else: not through
// the profile functions, which keep what they read, nor through a string that may leave copies.
#pragma once

#include <string>

#include "base/secret_buffer.h"

// The largest secrets file read; a larger one is refused rather than read in part.
inline constexpr size_t kSecretFileCapacity = 65536;

enum class SecretFileRead {
  kRead,
  kOpenFailed,        // it does not exist or cannot be opened
  kNotRegular,        // a folder, a device, ...: no file of secrets
  kReadableByOthers,  // on POSIX, its group or others may read it
  kTooLarge,          // larger than kSecretFileCapacity
  kReadFailed,
};

// Reads the file at `path` ("-": standard input, which may be a pipe) into `secrets`, whose
// capacity is at least kSecretFileCapacity.
SecretFileRead ReadSecretFile(const char* path, CSecretBuffer* secrets);
