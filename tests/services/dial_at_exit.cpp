// A program that ends while its dials are under way: one dial between two states, one inside a
// notifier call, and the service already released by the program. It must end, and end well;
// CTest fails it if it hangs. The stand-in service's threads are still running when the process
// ends (POSIX) or are ended by the platform before the service is unloaded (Windows), and
// neither may keep the process from ending.
#include <chrono>
#include <cstdio>
#include <thread>

#include "base/text.h"
#include "entry/entry_record.h"
#include "platform/library_loader.h"
#include "platform/ras_service.h"
#include "support/stand_in_system.h"

namespace {

void WINAPI LingerOnSecondState(UINT, RASCONNSTATE state, DWORD) {
  if (state == RASCS_PortOpened) {
    std::this_thread::sleep_for(std::chrono::milliseconds(20));
  }
}

void WINAPI HurryOn(UINT, RASCONNSTATE, DWORD) {}

}  // namespace

int main() {
  CLibraryLoader& loader = PlatformLibraryLoader();
  LibraryHandle service = loader.LoadByName("rasapi32.dll");
  if (service == nullptr) {
    std::fputs("the stand-in service cannot be loaded\n", stderr);
    return 1;
  }
  const auto store = reinterpret_cast<RasSetEntryPropertiesAProc>(
      loader.FindEntryPoint(service, "RasSetEntryPropertiesA"));
  const auto dial = reinterpret_cast<RasDialAProc>(loader.FindEntryPoint(service, "RasDialA"));
  // A system of its own, so that the service's failures.txt and phone book are the test's.
  const test::ScopedStandInSystem system;
  RASENTRYA entry = {};
  entry.dwSize = kEntryRecordSize;
  RASDIALPARAMSA parameters = {};
  parameters.dwSize = sizeof parameters;
  CopyText(parameters.szEntryName, "Exit");
  HRASCONN connection = nullptr;  // neither is hung up
  if (store(nullptr, "Exit", &entry, sizeof entry, nullptr, 0) != 0 ||
      dial(nullptr, nullptr, &parameters, 0, reinterpret_cast<void*>(&LingerOnSecondState),
           &connection) != 0 ||
      dial(nullptr, nullptr, &parameters, 0, reinterpret_cast<void*>(&HurryOn), &connection) != 0) {
    std::fputs("the dials did not start\n", stderr);
    return 1;
  }
  std::this_thread::sleep_for(std::chrono::milliseconds(5));
  loader.Release(service);
  return 0;
}
