// The answers that read the same from every service: names, a new entry's record, result texts,
// record lists.
#include "service_answers.h"

#include <cstring>
#include <string>

#include "base/text.h"
#include "entry/entry_record.h"
#include "platform/ras_service.h"

namespace {

struct ErrorText {
  UINT code;
  const char* text;
};

constexpr ErrorText kErrorTexts[] = {
    {kErrorAccessDenied, "Access is denied: the phone book's folder cannot be written."},
    {kErrorNotSupported, "The request is not supported: the service dials PPP only."},
    {ERROR_INVALID_HANDLE, "The connection handle is not valid."},
    {ERROR_NOT_ENOUGH_MEMORY, "There is not enough memory for this operation."},
    {ERROR_INVALID_PARAMETER, "A required argument is missing or not valid."},
    {ERROR_INSUFFICIENT_BUFFER, "The buffer is too small for the text."},
    {ERROR_INVALID_NAME, "The entry name is not valid."},
    {ERROR_PROC_NOT_FOUND, "The remote access library does not offer this function."},
    {ERROR_ALREADY_EXISTS, "An entry of this name already exists in the phone book."},
    {ERROR_BUFFER_TOO_SMALL, "The buffer is too small."},
    {ERROR_WRONG_INFO_SPECIFIED, "Wrong information was specified."},
    {ERROR_BUFFER_INVALID, "The buffer is not valid."},
    {ERROR_CANNOT_OPEN_PHONEBOOK, "The phone book cannot be opened."},
    {ERROR_CANNOT_FIND_PHONEBOOK_ENTRY, "The phone book entry cannot be found."},
    {ERROR_CANNOT_WRITE_PHONEBOOK, "The phone book cannot be written."},
    {ERROR_INVALID_SIZE, "The size of the record is not valid."},
    {kErrorDeviceDoesNotExist, "The device does not exist."},
    {kErrorCorruptPhoneBook, "The phone book entry holds an option the dialler refuses."},
    {kErrorPortDisconnected, "The connection was closed: the modem hung up."},
    {kErrorDisconnection, "The connection was closed."},
    {kErrorUserDisconnection, "The connection was ended on this computer."},
    {kErrorPortNotAvailable, "The port is already in use or cannot be opened."},
    {kErrorNoAnswer, "The remote computer did not answer."},
    {kErrorAuthenticationFailure, "Authentication failed."},
    {kErrorHardwareFailure, "The port or the device failed."},
    {kErrorPppTimeout, "The remote computer stopped answering."},
    {kErrorPppNoProtocols, "No network protocol could be agreed with the remote computer."},
    {kErrorVpnFailed, "The VPN connection could not be made."},
};

constexpr size_t kMostEntryNameCharacters = sizeof(RASENTRYNAMEA::szEntryName) - 1;

}  // namespace

bool IsPlatformEntryName(const char* name) {
  const size_t length = std::strlen(name);
  if (length == 0 || length > kMostEntryNameCharacters || name[0] == '.') {
    return false;
  }
  bool hasLetterOrDigit = false;
  for (const char* c = name; *c != '\0'; ++c) {
    const auto byte = static_cast<unsigned char>(*c);
    if (byte < 0x20 || byte == 0x7F || std::strchr("|><?*\\/:", byte) != nullptr) {
      return false;
    }
    hasLetterOrDigit = hasLetterOrDigit || byte >= 0x80 || (byte >= '0' && byte <= '9') ||
                       (FoldLetterCase(static_cast<char>(byte)) >= 'A' &&
                        FoldLetterCase(static_cast<char>(byte)) <= 'Z');
  }
  return hasLetterOrDigit;
}

RASENTRYA DefaultEntryRecord() {
  RASENTRYA record = {};
  record.dwSize = kEntryRecordSize;
  record.dwCountryID = 1;
  record.dwCountryCode = 1;
  record.dwfNetProtocols = RASNP_Ip;
  record.dwFramingProtocol = RASFP_Ppp;
  return record;
}

DWORD AnswerErrorString(UINT code, char* buffer, DWORD size) {
  if (buffer == nullptr) {
    return ERROR_INVALID_PARAMETER;
  }
  std::string text = "Remote access error " + std::to_string(code) + ".";
  for (const ErrorText& known : kErrorTexts) {
    if (known.code == code) {
      text = known.text;
    }
  }
  if (size < text.size() + 1) {
    return ERROR_INSUFFICIENT_BUFFER;
  }
  CopyText(buffer, size, text.c_str());
  return 0;
}

DWORD AnswerEntryRecord(const LongEntryRecord& found, DWORD layoutSize, bool withAlternates,
                        RASENTRYA* entry, DWORD* entrySize, DWORD* deviceInfoSize) {
  // An empty list is its terminating empty string: two bytes.
  const DWORD needed = withAlternates ? layoutSize + 2 : layoutSize;
  // No device-specific configuration is kept.
  if (deviceInfoSize != nullptr) {
    *deviceInfoSize = 0;
  }
  if (entry == nullptr || *entrySize < needed) {
    *entrySize = needed;
    return ERROR_BUFFER_TOO_SMALL;
  }
  std::memcpy(entry, &found, layoutSize);
  entry->dwSize = layoutSize;
  if (withAlternates) {
    entry->dwAlternateOffset = layoutSize;
    std::memset(reinterpret_cast<BYTE*>(entry) + layoutSize, 0, 2);
  }
  *entrySize = needed;
  return 0;
}
