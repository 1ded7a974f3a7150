// A fake Remote Access Service for the binding's tests: a loader whose libraries rasapi32.dll and
// altras.dll export chosen functions. Every fake function logs "<library>:<function>", so a test
// sees which library the binding called, and answers from a script.
#pragma once

#include <cstdint>
#include <deque>
#include <functional>
#include <map>
#include <set>
#include <string>
#include <vector>

#include "platform/library_loader.h"
#include "platform/ras_service.h"

// One answer of a list function (devices or entries): its result, the size and count it writes
// back, and the records it fills in (type and name for a device, the name alone for an entry),
// never more than the offered buffer holds.
struct FakeListAnswer {
  uint32_t result;
  DWORD size;
  DWORD count;
  std::vector<std::vector<std::string>> records;
};

struct FakeService {
  std::vector<std::string> calls;
  bool logCalls = true;  // off where a test calls the service too often to keep a log
  std::deque<FakeListAnswer> listAnswers;
  std::vector<DWORD> offeredSizes;      // byte size offered to each list call
  std::vector<DWORD> firstRecordSizes;  // dwSize of the first record at each list call
  uint32_t result = 0;                  // what every other function answers
  const char* phoneBook = nullptr;      // phone-book argument of the last call that has one
  bool lastCallWasWarmUp = false;       // RasGetEntryPropertiesA("", null, &0, null, &x)

  // RasDialA keeps the notifier type and notifier it was given; when `result` is 0 it writes
  // `connection` into the caller's variable and then runs `duringDial`, which may deliver
  // notifications through Notifier() before RasDialA returns.
  HRASCONN connection = nullptr;
  std::function<void()> duringDial;
  DWORD notifierType = 0;
  void* notifier = nullptr;
  RASDIALFUNC1 Notifier() const { return reinterpret_cast<RASDIALFUNC1>(notifier); }
  // RasGetConnectStatusA answers `result`; on 0 it fills the record from `status` (all but
  // dwSize), and it wants a dwSize of 160 as the platform does (632 otherwise).
  RASCONNSTATUSA status = {};
  std::vector<HRASCONN> hungUp;  // handle of every RasHangUpA call
};

FakeService& Fake();

// Installs itself as the loader in use for its lifetime, with a fresh FakeService.
class CFakeLibraryLoader final : public CLibraryLoader {
 public:
  CFakeLibraryLoader();
  ~CFakeLibraryLoader();
  CFakeLibraryLoader(const CFakeLibraryLoader&) = delete;
  CFakeLibraryLoader& operator=(const CFakeLibraryLoader&) = delete;

  // Makes "rasapi32.dll" or "altras.dll" loadable, exporting every function but `missing`.
  void Offer(const std::string& library, std::set<std::string> missing = {});

  int Loads(const std::string& library) const;
  const std::vector<std::string>& Released() const { return released_; }

  LibraryHandle LoadByName(const char* fileName) override;
  EntryPoint FindEntryPoint(LibraryHandle library, const char* exportName) override;
  void Release(LibraryHandle library) override;

 private:
  struct Library {
    std::string name;
    std::set<std::string> missing;
  };
  std::map<std::string, Library> offered_;
  std::map<std::string, int> loads_;
  std::vector<std::string> released_;
  CLibraryLoader* previous_;
};
