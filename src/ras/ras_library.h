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

#include "base/critical_section.h"
#include "base/handle_map.h"
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
  // The status of a connection. For a connection that Dial started, the notifications not yet
  // read come first, one per call and oldest first (their state and error, with the device the
  // service last reported); once the connected state has been read and nothing is queued, the
  // service's own answer. 603 when the service says so or the record's dwSize is below 4. Only
  // the fields that lie wholly inside the record's dwSize are written.
  virtual uint32_t GetConnectStatus(HRASCONN connection, RASCONNSTATUSA* status) = 0;
  // Stops tracking the connection and hangs it up. The pending dial (handle 0) stays tracked.
  virtual void HangUp(HRASCONN connection) = 0;
  // Dials asynchronously and forwards every notification to `notifier`, a RASDIALFUNC, which
  // therefore must be given: notifier type 0 only. Any other type gives 604 after hanging up the
  // handle in `*connection`; a null notifier gives 604 and nothing is dialled or hung up. 8 when
  // memory runs out. On 0, `*connection` is the new connection, tracked until HangUp.
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
  // The credentials functions, which the service of a Windows may lack (RasSetCredentialsA before
  // Windows 2000): such a function's absence fails no Load, and its operation answers
  // ERROR_PROC_NOT_FOUND.
  virtual uint32_t SetCredentials(const char* entryName, RASCREDENTIALSA* credentials,
                                  BOOL clearCredentials) = 0;
  virtual uint32_t SetEntryDialParams(RASDIALPARAMSA* parameters, BOOL removePassword) = 0;

 protected:
  ~CRasApi() = default;
};

// The one implementation. Its fields are all zero until Load runs, and its dial-connection map
// is empty and holds no memory until the first Dial, so the process-wide object needs no
// construction at run time. Destroying it empties the map and releases the connections still
// tracked; the libraries stay loaded.
class CRasLibrary : public CRasApi {
 public:
  constexpr CRasLibrary() = default;
  ~CRasLibrary();
  CRasLibrary(const CRasLibrary&) = delete;
  CRasLibrary& operator=(const CRasLibrary&) = delete;

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
  uint32_t SetCredentials(const char* entryName, RASCREDENTIALSA* credentials,
                          BOOL clearCredentials) override;
  uint32_t SetEntryDialParams(RASDIALPARAMSA* parameters, BOOL removePassword) override;

  // The notifier that Dial gives the service (a RASDIALFUNC1): queues the notification on the
  // connection that the process-wide binding tracks under `connection`, or on the pending dial
  // while the service has not yet returned the handle, and forwards it to the caller's notifier.
  // A notification for any other connection is dropped.
  static void WINAPI OnDialEvent(HRASCONN connection, UINT message, RASCONNSTATE state, DWORD error,
                                 DWORD extendedError);

  // The dial-connection map, for inspection: connection handle to CDialConnection.
  const CHandleMap& DialConnections() const { return dialConnections_; }

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
  RasSetCredentialsAProc setCredentials_ = nullptr;
  RasSetEntryDialParamsAProc setEntryDialParams_ = nullptr;
  // Key 0 is the pending dial: the one Dial has started and whose handle the service has not
  // returned yet. Guarded by g_dialLock.
  CHandleMap dialConnections_;
};

// The binding object. The program defines it, in the one translation unit that also defines the
// application object and the dial lock, so that the three are constructed in that order.
extern CRasLibrary g_rasLibrary;
// The dial lock: guards the dial-connection map and every connection in it. Only Dial,
// GetConnectStatus, HangUp and OnDialEvent take it. It is recursive, so a notifier, which runs
// with the lock held, may call those operations itself; it must not wait for another thread
// that uses them.
extern CCriticalSection g_dialLock;
