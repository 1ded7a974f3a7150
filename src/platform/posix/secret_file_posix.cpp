// Reading a secrets file on POSIX: only a regular file, or standard input, that no one but its
// owner can read, since a secret another user could read is no longer one.
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>

#include "platform/secret_file.h"

namespace {

// Reads to the end of the file or up to the buffer's capacity plus one byte, which tells a file
// that is too large.
SecretFileRead ReadAll(int file, CSecretBuffer* secrets) {
  size_t got = 0;
  for (;;) {
    if (got == secrets->Capacity()) {
      char more = 0;
      const ssize_t extra = ::read(file, &more, 1);
      return extra == 0 ? SecretFileRead::kRead : SecretFileRead::kTooLarge;
    }
    const ssize_t read = ::read(file, secrets->Data() + got, secrets->Capacity() - got);
    if (read > 0) {
      got += static_cast<size_t>(read);
      secrets->SetSize(got);
    } else if (read == 0) {
      return SecretFileRead::kRead;
    } else if (errno != EINTR) {
      return SecretFileRead::kReadFailed;
    }
  }
}

}  // namespace

SecretFileRead ReadSecretFile(const char* path, CSecretBuffer* secrets) {
  secrets->SetSize(0);
  const bool standardInput = path[0] == '-' && path[1] == '\0';
  const int file =
      standardInput ? STDIN_FILENO : open(path, O_RDONLY | O_NONBLOCK | O_NOCTTY | O_CLOEXEC);
  if (file < 0) {
    return SecretFileRead::kOpenFailed;
  }
  struct stat info = {};
  SecretFileRead result = SecretFileRead::kRead;
  if (fstat(file, &info) != 0) {
    result = SecretFileRead::kReadFailed;
  } else if (!standardInput && !S_ISREG(info.st_mode)) {
    result = SecretFileRead::kNotRegular;
  } else if (S_ISREG(info.st_mode) && (info.st_mode & (S_IRWXG | S_IRWXO)) != 0) {
    // A pipe on standard input is the caller's own; a file is judged by its mode bits, one that
    // standard input was opened on too.
    result = SecretFileRead::kReadableByOthers;
  } else {
    result = ReadAll(file, secrets);
  }
  if (!standardInput) {
    close(file);
  }
  return result;
}
