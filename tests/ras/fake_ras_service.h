// A fake Remote Access Service for the binding's tests: a loader whose libraries rasapi32.dll and
// altras.dll export chosen functions. Every fake function logs "<library>:<function>" (Load's
// warm-up call with " warm-up" after it), so a test sees which library the binding called, and
// answers from a script.
#pragma once

#include <deque>
#include <functional>
#include <map>
#include <set>
#include <string>
#include <vector>

#include "platform/library_loader.h"
#include "platform/ras_service.h"

// One answer of a list function: its result, the size and count it writes back, and the records
// it fills in ("type/name" for a device, the name for an entry), never more than the buffer holds.
struct FakeListAnswer {
  DWORD result = 0;
  DWORD size = 0;
  DWORD count = 0;
  std::vector<std::string> records = {};
};

struct FakeService {
  std::vector<std::string> calls;
  bool logCalls = true;                    // off where a test calls too often to keep a log
  DWORD result = 0;                        // what every function but the lists answers
  const char* phoneBook = nullptr;         // phone-book argument of the last call that has one
  std::deque<FakeListAnswer> listAnswers;  // when none is left, a list answers 0xDEAD
  std::vector<DWORD> offeredSizes;         // byte size offered to each list call
  std::vector<DWORD> firstRecordSizes;     // dwSize of the first record at each list call
  // RasDialA keeps the notifier it was given; when `result` is 0 it writes `connection` into the
  // caller's variable, then runs `duringDial`, which may notify before RasDialA returns.
  HRASCONN connection = nullptr;
  std::function<void()> duringDial;
  DWORD notifierType = 0;
  RASDIALFUNC1 notifier = nullptr;
  // RasGetConnectStatusA answers `result`; on 0 it copies `status` but its dwSize, which must be
  // 160 as the platform wants (632 otherwise).
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

  // Makes "rasapi32.dll" or "altras.dll" loadable, exporting the functions the tests reach (the
  // entry, device, list and dial functions) but `missing`.
  void Offer(const std::string& library, std::set<std::string> missing = {});

  LibraryHandle LoadByName(const char* fileName) override;
  EntryPoint FindEntryPoint(LibraryHandle library, const char* exportName) override;
  void Release(LibraryHandle library) override;

  std::map<std::string, int> loads;   // by file name
  std::vector<std::string> released;  // file names, in order

 private:
  std::map<std::string, std::set<std::string>> offered_;  // file name to missing exports
  CLibraryLoader* previous_;
};
