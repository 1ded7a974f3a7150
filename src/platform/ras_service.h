// The Remote Access Service as the platform offers it: its records (other than the entry record,
// which lives in entry/entry_record.h), connection states, notifier types and the
// functions the binding loads at run time. Declared here once, from the platform's documented
// layouts, for every build; the platform's own ras.h is never included. Each record is checked
// against its platform size and offsets on every build.
//
// The functions are declared as prototypes only so that their pointer types follow from them and
// so that the stand-in service implements exactly these signatures; the tool never links against
// them and reaches them only through the binding.
#pragma once

#include <cstddef>
#include <cstdint>

#include "platform_types.h"

struct RASENTRYA;

// A connection handle; opaque, as the platform declares it.
struct HRASCONN__;
typedef HRASCONN__* HRASCONN;

// The message that carries dial notifications.
inline constexpr UINT WM_RASDIALEVENT = 0xCCCD;

enum RASCONNSTATE : int32_t {
  RASCS_OpenPort = 0,
  RASCS_PortOpened,
  RASCS_ConnectDevice,
  RASCS_DeviceConnected,
  RASCS_AllDevicesConnected,
  RASCS_Authenticate,
  RASCS_AuthNotify,
  RASCS_AuthRetry,
  RASCS_AuthCallback,
  RASCS_AuthChangePassword,
  RASCS_AuthProject,
  RASCS_AuthLinkSpeed,
  RASCS_AuthAck,
  RASCS_ReAuthenticate,
  RASCS_Authenticated,
  RASCS_PrepareForCallback,
  RASCS_WaitForModemReset,
  RASCS_WaitForCallback,
  RASCS_Projected,
  RASCS_StartAuthentication,
  RASCS_CallbackComplete,
  RASCS_LogonNetwork,
  RASCS_SubEntryConnected,
  RASCS_SubEntryDisconnected,
  RASCS_Interactive = 0x1000,
  RASCS_RetryAuthentication,
  RASCS_CallbackSetByCaller,
  RASCS_PasswordExpired,
  RASCS_Connected = 0x2000,
  RASCS_Disconnected,
};

// One installed remote-access device.
struct RASDEVINFOA {
  DWORD dwSize;
  char szDeviceType[17];
  char szDeviceName[129];
};

// One phone-book entry name.
struct RASENTRYNAMEA {
  DWORD dwSize;
  char szEntryName[257];
};

// The status of a connection.
struct RASCONNSTATUSA {
  DWORD dwSize;
  RASCONNSTATE rasconnstate;
  DWORD dwError;
  char szDeviceType[17];
  char szDeviceName[129];
};

// What to dial, and with which credentials.
struct RASDIALPARAMSA {
  DWORD dwSize;
  char szEntryName[257];
  char szPhoneNumber[129];
  char szCallbackNumber[129];
  char szUserName[257];
  char szPassword[257];
  char szDomain[16];
};

// An entry's credentials, or its pre-shared key (in szPassword), as the credentials functions
// take them; dwMask says which fields count (RASCM_...).
struct RASCREDENTIALSA {
  DWORD dwSize;
  DWORD dwMask;
  char szUserName[257];
  char szPassword[257];
  char szDomain[16];
};

inline constexpr DWORD RASCM_UserName = 0x1;
inline constexpr DWORD RASCM_Password = 0x2;
inline constexpr DWORD RASCM_Domain = 0x4;
// For every user of the machine rather than the caller alone (Windows XP and later).
inline constexpr DWORD RASCM_DefaultCreds = 0x8;
// The entry's pre-shared key, in szPassword (Windows XP and later).
inline constexpr DWORD RASCM_PreSharedKey = 0x10;

// Optional dial settings. The last two fields are pointer-sized, as on the platform.
struct RASDIALEXTENSIONS {
  DWORD dwSize;
  DWORD dwfOptions;
  HWND hwndParent;
  uintptr_t reserved;
};

// Dialling information of one country; the country's name follows the record in the caller's
// buffer, at dwCountryNameOffset from its start.
struct RASCTRYINFO {
  DWORD dwSize;
  DWORD dwCountryID;
  DWORD dwNextCountryID;
  DWORD dwCountryCode;
  DWORD dwCountryNameOffset;
};

// The two notifier forms: the caller's (RasDialFunc) and the one the binding gives the platform,
// which also receives the connection handle (RasDialFunc1).
typedef void(WINAPI* RASDIALFUNC)(UINT message, RASCONNSTATE state, DWORD error);
typedef void(WINAPI* RASDIALFUNC1)(HRASCONN connection, UINT message, RASCONNSTATE state,
                                   DWORD error, DWORD extendedError);

extern "C" {
DWORD WINAPI RasValidateEntryNameA(const char* phoneBook, const char* entryName);
DWORD WINAPI RasRenameEntryA(const char* phoneBook, const char* oldName, const char* newName);
DWORD WINAPI RasDeleteEntryA(const char* phoneBook, const char* entryName);
DWORD WINAPI RasGetEntryPropertiesA(const char* phoneBook, const char* entryName, RASENTRYA* entry,
                                    DWORD* entrySize, BYTE* deviceInfo, DWORD* deviceInfoSize);
DWORD WINAPI RasSetEntryPropertiesA(const char* phoneBook, const char* entryName, RASENTRYA* entry,
                                    DWORD entrySize, BYTE* deviceInfo, DWORD deviceInfoSize);
DWORD WINAPI RasGetCountryInfoA(RASCTRYINFO* country, DWORD* size);
DWORD WINAPI RasEnumDevicesA(RASDEVINFOA* devices, DWORD* size, DWORD* count);
DWORD WINAPI RasGetConnectStatusA(HRASCONN connection, RASCONNSTATUSA* status);
DWORD WINAPI RasHangUpA(HRASCONN connection);
DWORD WINAPI RasDialA(RASDIALEXTENSIONS* extensions, const char* phoneBook,
                      RASDIALPARAMSA* parameters, DWORD notifierType, void* notifier,
                      HRASCONN* connection);
DWORD WINAPI RasEditPhonebookEntryA(HWND owner, const char* phoneBook, const char* entryName);
DWORD WINAPI RasEnumEntriesA(const char* reserved, const char* phoneBook, RASENTRYNAMEA* entries,
                             DWORD* size, DWORD* count);
DWORD WINAPI RasGetErrorStringA(UINT code, char* buffer, DWORD size);
// From Windows 2000: the entry's credentials, for its user or for all users.
DWORD WINAPI RasSetCredentialsA(const char* phoneBook, const char* entryName,
                                RASCREDENTIALSA* credentials, BOOL clearCredentials);
// The 95 family's and NT 4.0's way: the user name, password and domain the entry dials with.
DWORD WINAPI RasSetEntryDialParamsA(const char* phoneBook, RASDIALPARAMSA* parameters,
                                    BOOL removePassword);
}  // extern "C"

// Pointer types of the functions, for the entry points the binding looks up.
using RasValidateEntryNameAProc = decltype(&RasValidateEntryNameA);
using RasRenameEntryAProc = decltype(&RasRenameEntryA);
using RasDeleteEntryAProc = decltype(&RasDeleteEntryA);
using RasGetEntryPropertiesAProc = decltype(&RasGetEntryPropertiesA);
using RasSetEntryPropertiesAProc = decltype(&RasSetEntryPropertiesA);
using RasGetCountryInfoAProc = decltype(&RasGetCountryInfoA);
using RasEnumDevicesAProc = decltype(&RasEnumDevicesA);
using RasGetConnectStatusAProc = decltype(&RasGetConnectStatusA);
using RasHangUpAProc = decltype(&RasHangUpA);
using RasDialAProc = decltype(&RasDialA);
using RasEditPhonebookEntryAProc = decltype(&RasEditPhonebookEntryA);
using RasEnumEntriesAProc = decltype(&RasEnumEntriesA);
using RasGetErrorStringAProc = decltype(&RasGetErrorStringA);
using RasSetCredentialsAProc = decltype(&RasSetCredentialsA);
using RasSetEntryDialParamsAProc = decltype(&RasSetEntryDialParamsA);

static_assert(sizeof(RASCONNSTATE) == 4);

static_assert(sizeof(RASDEVINFOA) == 152);
static_assert(offsetof(RASDEVINFOA, dwSize) == 0);
static_assert(offsetof(RASDEVINFOA, szDeviceType) == 4);
static_assert(offsetof(RASDEVINFOA, szDeviceName) == 21);

static_assert(sizeof(RASENTRYNAMEA) == 264);
static_assert(offsetof(RASENTRYNAMEA, dwSize) == 0);
static_assert(offsetof(RASENTRYNAMEA, szEntryName) == 4);

static_assert(sizeof(RASCONNSTATUSA) == 160);
static_assert(offsetof(RASCONNSTATUSA, dwSize) == 0);
static_assert(offsetof(RASCONNSTATUSA, rasconnstate) == 4);
static_assert(offsetof(RASCONNSTATUSA, dwError) == 8);
static_assert(offsetof(RASCONNSTATUSA, szDeviceType) == 12);
static_assert(offsetof(RASCONNSTATUSA, szDeviceName) == 29);

static_assert(sizeof(RASDIALPARAMSA) == 1052);
static_assert(offsetof(RASDIALPARAMSA, dwSize) == 0);
static_assert(offsetof(RASDIALPARAMSA, szEntryName) == 4);
static_assert(offsetof(RASDIALPARAMSA, szPhoneNumber) == 261);
static_assert(offsetof(RASDIALPARAMSA, szCallbackNumber) == 390);
static_assert(offsetof(RASDIALPARAMSA, szUserName) == 519);
static_assert(offsetof(RASDIALPARAMSA, szPassword) == 776);
static_assert(offsetof(RASDIALPARAMSA, szDomain) == 1033);

static_assert(sizeof(RASCREDENTIALSA) == 540);
static_assert(offsetof(RASCREDENTIALSA, dwSize) == 0);
static_assert(offsetof(RASCREDENTIALSA, dwMask) == 4);
static_assert(offsetof(RASCREDENTIALSA, szUserName) == 8);
static_assert(offsetof(RASCREDENTIALSA, szPassword) == 265);
static_assert(offsetof(RASCREDENTIALSA, szDomain) == 522);

static_assert(sizeof(RASDIALEXTENSIONS) == 8 + 2 * sizeof(void*));
static_assert(offsetof(RASDIALEXTENSIONS, dwSize) == 0);
static_assert(offsetof(RASDIALEXTENSIONS, dwfOptions) == 4);
static_assert(offsetof(RASDIALEXTENSIONS, hwndParent) == 8);
static_assert(offsetof(RASDIALEXTENSIONS, reserved) == 8 + sizeof(void*));

static_assert(sizeof(RASCTRYINFO) == 20);
static_assert(offsetof(RASCTRYINFO, dwSize) == 0);
static_assert(offsetof(RASCTRYINFO, dwCountryID) == 4);
static_assert(offsetof(RASCTRYINFO, dwNextCountryID) == 8);
static_assert(offsetof(RASCTRYINFO, dwCountryCode) == 12);
static_assert(offsetof(RASCTRYINFO, dwCountryNameOffset) == 16);
