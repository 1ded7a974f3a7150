// The remote-access binding: the one object through which the tool reaches the Remote Access
// Service. The tool never links against the service; Load finds rasapi32.dll at run time (or,
// for most functions, the alternative library altras.dll, which exports the same functions), so
// that the tool starts, and says so, where the service is missing. This is the chief header of
// the remote-access subsystem; the device and entry lists are declared in ras/device_list.h.
//
// Results are 0 for success, else the service's own code passed through unchanged, or one of
// the binding's: kRasLibraryNotLoaded and kAltRasLibraryNotLoaded from Load, and
// ERROR_PROC_NOT_FOUND from any operation whose function the library does not export (nothing
// is ever called through a missing entry point).
#pragma once

#include <cstdint>

#include "entry/entry_record.h"
#include "platform/library_loader.h"
#include "platform/ras_service.h"
#include "platform_types.h"

// The binding's operations, in their fixed slot order. There is deliberately no virtual
// destructor: the one binding object is never deleted through this interface, and the
// protected destructor makes sure it cannot be.
class CRasApi {
 public:
  // Loads the libraries and binds their functions. `phoneBookPath` (null: the platform's default
  // phone book) is kept as given, not copied: the text must outlive the binding's use. The
  // switch UseAltras of section Libraries is read from `profileFileName` (null: the platform's
  // default profile). Call once, before every other operation but LibraryKind.
  virtual uint32_t Load(const char* phoneBookPath, const char* profileFileName) = 0;
  // On 183 (the name is taken) the caller's buffer, of at least 257 bytes, receives the name as
  // the phone book spells it when it differs from the caller's only in letter case.
  virtual uint32_t ValidateEntryName(char* entryName) = 0;
  virtual uint32_t RenameEntry(const char* oldName, const char* newName) = 0;
  virtual uint32_t DeleteEntry(const char* entryName) = 0;
  virtual uint32_t GetEntryProperties(const char* entryName, RASENTRYA* entry, DWORD* entrySize,
                                      BYTE* deviceInfo, DWORD* deviceInfoSize) = 0;
  virtual uint32_t SetEntryProperties(const char* entryName, RASENTRYA* entry, DWORD entrySize,
                                      BYTE* deviceInfo, DWORD deviceInfoSize) = 0;
  virtual uint32_t GetCountryInfo(RASCTRYINFO* country, DWORD* size) = 0;
  // Presets the first record's size field to 152, whatever it held, then asks the service.
  virtual uint32_t EnumDevices(RASDEVINFOA* devices, DWORD* size, DWORD* count) = 0;
  virtual uint32_t GetConnectStatus(HRASCONN connection, RASCONNSTATUSA* status) = 0;
  virtual void HangUp(HRASCONN connection) = 0;
  virtual uint32_t Dial(RASDIALEXTENSIONS* extensions, RASDIALPARAMSA* parameters,
                        DWORD notifierType, void* notifier, HRASCONN* connection) = 0;
  virtual uint32_t EditPhonebookEntry(HWND owner, const char* entryName) = 0;
  // The phone book's entries. On 0, `*entries` is an array of `*count` records from the C
  // runtime heap that the caller releases with free (also when the count is 0); on any other
  // result it is null and the count 0. 8 when memory runs out.
  virtual uint32_t EnumEntries(RASENTRYNAMEA** entries, uint32_t* count) = 0;
  virtual uint32_t GetErrorString(UINT code, char* buffer, DWORD size) = 0;
  // 100 when the alternative library is in use, else 200 (also before Load).
  virtual uint32_t LibraryKind() = 0;

 protected:
  ~CRasApi() = default;
};

// The one implementation. Its fields are all zero until Load runs, so the process-wide object
// needs no construction at run time.
class CRasLibrary : public CRasApi {
 public:
  uint32_t Load(const char* phoneBookPath, const char* profileFileName) override;
  uint32_t ValidateEntryName(char* entryName) override;
  uint32_t RenameEntry(const char* oldName, const char* newName) override;
  uint32_t DeleteEntry(const char* entryName) override;
  uint32_t GetEntryProperties(const char* entryName, RASENTRYA* entry, DWORD* entrySize,
                              BYTE* deviceInfo, DWORD* deviceInfoSize) override;
  uint32_t SetEntryProperties(const char* entryName, RASENTRYA* entry, DWORD entrySize,
                              BYTE* deviceInfo, DWORD deviceInfoSize) override;
  uint32_t GetCountryInfo(RASCTRYINFO* country, DWORD* size) override;
  uint32_t EnumDevices(RASDEVINFOA* devices, DWORD* size, DWORD* count) override;
  uint32_t GetConnectStatus(HRASCONN connection, RASCONNSTATUSA* status) override;
  void HangUp(HRASCONN connection) override;
  uint32_t Dial(RASDIALEXTENSIONS* extensions, RASDIALPARAMSA* parameters, DWORD notifierType,
                void* notifier, HRASCONN* connection) override;
  uint32_t EditPhonebookEntry(HWND owner, const char* entryName) override;
  uint32_t EnumEntries(RASENTRYNAMEA** entries, uint32_t* count) override;
  uint32_t GetErrorString(UINT code, char* buffer, DWORD size) override;
  uint32_t LibraryKind() override;

 private:
  const char* phoneBookPath_ = nullptr;  // the caller's text, not a copy
  DWORD entrySizeProbe_ = 0;             // written by the warm-up call of Load, read by nobody
  int32_t alternativeLibraryInUse_ = 0;  // 1: the functions marked alt come from altras.dll
  LibraryHandle standardLibrary_ = nullptr;
  LibraryHandle alternativeLibrary_ = nullptr;
  RasValidateEntryNameAProc validateEntryName_ = nullptr;
  RasRenameEntryAProc renameEntry_ = nullptr;
  RasDeleteEntryAProc deleteEntry_ = nullptr;
  RasGetEntryPropertiesAProc getEntryProperties_ = nullptr;
  RasSetEntryPropertiesAProc setEntryProperties_ = nullptr;
  RasGetCountryInfoAProc getCountryInfo_ = nullptr;
  RasEnumDevicesAProc enumDevices_ = nullptr;
  RasGetConnectStatusAProc getConnectStatus_ = nullptr;
  RasHangUpAProc hangUp_ = nullptr;
  RasDialAProc dial_ = nullptr;
  RasEditPhonebookEntryAProc editPhonebookEntry_ = nullptr;
  RasEnumEntriesAProc enumEntries_ = nullptr;
  RasGetErrorStringAProc getErrorString_ = nullptr;
};

// The binding object. The program defines it, in the one translation unit that also defines the
// application object and the dial lock, so that the three are constructed in that order.
extern CRasLibrary g_rasLibrary;
