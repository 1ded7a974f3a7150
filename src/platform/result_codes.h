// Every result code the tool tests or returns. Results are plain integers, 0 for success.
#pragma once

#include <cstdint>

#include "platform_types.h"

// The platform's codes, spelled as the platform spells them. A file that also includes the
// platform's own headers keeps the platform's definitions.
#ifndef ERROR_NOT_ENOUGH_MEMORY
#define ERROR_NOT_ENOUGH_MEMORY 8L
#endif
#ifndef ERROR_ALREADY_EXISTS
#define ERROR_ALREADY_EXISTS 183L
#endif
#ifndef ERROR_BUFFER_TOO_SMALL
#define ERROR_BUFFER_TOO_SMALL 603
#endif
#ifndef ERROR_WRONG_INFO_SPECIFIED
#define ERROR_WRONG_INFO_SPECIFIED 604
#endif
#ifndef ERROR_CANNOT_OPEN_PHONEBOOK
#define ERROR_CANNOT_OPEN_PHONEBOOK 621
#endif
#ifndef ERROR_CANNOT_FIND_PHONEBOOK_ENTRY
#define ERROR_CANNOT_FIND_PHONEBOOK_ENTRY 623
#endif
#ifndef ERROR_INVALID_SIZE
#define ERROR_INVALID_SIZE 632
#endif
// What the binding answers for an operation whose entry point the library does not export: the
// platform's own code for a function that could not be found.
#ifndef ERROR_PROC_NOT_FOUND
#define ERROR_PROC_NOT_FOUND 127L
#endif

// Further codes of the platform that the stand-in Remote Access Service answers with, as the
// platform's service does in the same situations.
#ifndef ERROR_INVALID_HANDLE
#define ERROR_INVALID_HANDLE 6L
#endif
#ifndef ERROR_INVALID_PARAMETER
#define ERROR_INVALID_PARAMETER 87L
#endif
#ifndef ERROR_INSUFFICIENT_BUFFER
#define ERROR_INSUFFICIENT_BUFFER 122L
#endif
#ifndef ERROR_INVALID_NAME
#define ERROR_INVALID_NAME 123L
#endif
#ifndef ERROR_BUFFER_INVALID
#define ERROR_BUFFER_INVALID 610
#endif
#ifndef ERROR_CANNOT_WRITE_PHONEBOOK
#define ERROR_CANNOT_WRITE_PHONEBOOK 624
#endif

// Further codes of the platform that the services answer with, under names of the tool's own,
// which no platform header defines.
inline constexpr DWORD kErrorAccessDenied = 5;
inline constexpr DWORD kErrorNotSupported = 50;
inline constexpr DWORD kErrorDeviceDoesNotExist = 608;
inline constexpr DWORD kErrorCorruptPhoneBook = 625;
inline constexpr DWORD kErrorPortDisconnected = 628;
inline constexpr DWORD kErrorDisconnection = 629;
inline constexpr DWORD kErrorUserDisconnection = 631;
inline constexpr DWORD kErrorPortNotAvailable = 633;
inline constexpr DWORD kErrorNoAnswer = 678;
inline constexpr DWORD kErrorAuthenticationFailure = 691;
inline constexpr DWORD kErrorHardwareFailure = 692;
inline constexpr DWORD kErrorPppTimeout = 718;
inline constexpr DWORD kErrorPppNoProtocols = 720;
inline constexpr DWORD kErrorVpnFailed = 800;

// The tool's own codes.
inline constexpr int32_t kInitPathNotFormed = 6000;         // an INIT value has no full path
inline constexpr int32_t kInitFileNotFound = 6001;          // no INIT, or an INIT names nothing
inline constexpr int32_t kNoRememberedDevice = 6002;        // the settings file holds no device
inline constexpr uint32_t kRasLibraryNotLoaded = 83007;     // rasapi32.dll cannot be loaded
inline constexpr uint32_t kAltRasLibraryNotLoaded = 83009;  // altras.dll wanted, not usable
