// Reading a secrets file on Windows. Who may read it is the folder's access list, which the
// installer that writes it chooses (docs/secrets-file.md); the tool reads only a plain file or
// standard input.
#include <windows.h>

#include "platform/secret_file.h"

SecretFileRead ReadSecretFile(const char* path, CSecretBuffer* secrets) {
  secrets->SetSize(0);
  const bool standardInput = path[0] == '-' && path[1] == '\0';
  HANDLE file = standardInput ? GetStdHandle(STD_INPUT_HANDLE)
                              : CreateFileA(path, GENERIC_READ, FILE_SHARE_READ, nullptr,
                                            OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr);
  if (file == INVALID_HANDLE_VALUE || file == nullptr) {
    return SecretFileRead::kOpenFailed;
  }
  SecretFileRead result = SecretFileRead::kRead;
  if (!standardInput && GetFileType(file) != FILE_TYPE_DISK) {
    result = SecretFileRead::kNotRegular;
  }
  size_t got = 0;
  while (result == SecretFileRead::kRead) {
    char extra = 0;
    char* into = got < secrets->Capacity() ? secrets->Data() + got : &extra;
    const DWORD room =
        got < secrets->Capacity() ? static_cast<DWORD>(secrets->Capacity() - got) : 1;
    DWORD read = 0;
    // A pipe whose writer is gone ends the input as the end of a file does.
    if (!ReadFile(file, into, room, &read, nullptr)) {
      result =
          GetLastError() == ERROR_BROKEN_PIPE ? SecretFileRead::kRead : SecretFileRead::kReadFailed;
      break;
    }
    if (read == 0) {
      break;
    }
    if (into == &extra) {
      result = SecretFileRead::kTooLarge;
      break;
    }
    got += read;
    secrets->SetSize(got);
  }
  if (!standardInput) {
    CloseHandle(file);
  }
  return result;
}
