// What dial connection tracking costs: a notification taken in by the binding's notifier and
// read back by a status query, on one thread and on two at once (which then contend for the dial
// lock), and a dial followed by its hang-up (which builds and frees the empty map every time).
// The service is a fake that answers at once, so the figures are the binding's own.
//
//   build/host-release/bin/dial_tracking_bench
#include <benchmark/benchmark.h>

#include <atomic>
#include <cstdint>
#include <cstring>

#include "ras/ras_library.h"

namespace {

std::atomic<uintptr_t> g_lastConnection{0};

DWORD WINAPI AnswerEntryProperties(const char*, const char*, RASENTRYA*, DWORD*, BYTE*, DWORD*) {
  return 0;
}

DWORD WINAPI AnswerDial(RASDIALEXTENSIONS*, const char*, RASDIALPARAMSA*, DWORD, void*,
                        HRASCONN* connection) {
  *connection = reinterpret_cast<HRASCONN>(g_lastConnection += 16);
  return 0;
}

DWORD WINAPI AnswerStatus(HRASCONN, RASCONNSTATUSA* status) {
  status->rasconnstate = RASCS_Connected;
  status->dwError = 0;
  std::strcpy(status->szDeviceType, "modem");
  std::strcpy(status->szDeviceName, "Standard 28800 bps Modem");
  return 0;
}

DWORD WINAPI AnswerHangUp(HRASCONN) {
  return 0;
}

void WINAPI IgnoreNotification(UINT, RASCONNSTATE, DWORD) {}

// A loader whose one library exports just what the tracked operations and Load call.
class CBenchLoader final : public CLibraryLoader {
 public:
  LibraryHandle LoadByName(const char* fileName) override {
    return std::strcmp(fileName, "rasapi32.dll") == 0 ? reinterpret_cast<LibraryHandle>(this)
                                                      : nullptr;
  }
  EntryPoint FindEntryPoint(LibraryHandle, const char* name) override {
    const struct {
      const char* name;
      EntryPoint function;
    } exports[] = {
        {"RasGetEntryPropertiesA", reinterpret_cast<EntryPoint>(&AnswerEntryProperties)},
        {"RasDialA", reinterpret_cast<EntryPoint>(&AnswerDial)},
        {"RasGetConnectStatusA", reinterpret_cast<EntryPoint>(&AnswerStatus)},
        {"RasHangUpA", reinterpret_cast<EntryPoint>(&AnswerHangUp)},
    };
    for (const auto& e : exports) {
      if (std::strcmp(e.name, name) == 0) {
        return e.function;
      }
    }
    return nullptr;
  }
  void Release(LibraryHandle) override {}
};

HRASCONN Dial() {
  RASDIALPARAMSA parameters = {};
  HRASCONN connection = nullptr;
  g_rasLibrary.Dial(nullptr, &parameters, 0, reinterpret_cast<void*>(&IgnoreNotification),
                    &connection);
  return connection;
}

void NotifyThenReadStatus(benchmark::State& state) {
  const HRASCONN connection = Dial();
  RASCONNSTATUSA status = {sizeof status, RASCS_OpenPort, 0, {}, {}};
  int32_t dialState = 0;
  for (auto _ : state) {
    // Odd states: the connection never reads as connected, so every query takes the tracked path.
    dialState = (dialState + 2) & 0xFFF;
    CRasLibrary::OnDialEvent(connection, WM_RASDIALEVENT, static_cast<RASCONNSTATE>(dialState | 1),
                             0, 0);
    benchmark::DoNotOptimize(g_rasLibrary.GetConnectStatus(connection, &status));
  }
  g_rasLibrary.HangUp(connection);
  state.SetItemsProcessed(state.iterations());
}
BENCHMARK(NotifyThenReadStatus)->Threads(1)->Threads(2)->UseRealTime();

void DialThenHangUp(benchmark::State& state) {
  for (auto _ : state) {
    g_rasLibrary.HangUp(Dial());
  }
  state.SetItemsProcessed(state.iterations());
}
BENCHMARK(DialThenHangUp);

}  // namespace

int main(int argc, char** argv) {
  static CBenchLoader loader;
  ReplaceLibraryLoader(&loader);
  if (g_rasLibrary.Load(nullptr, nullptr) != 0) {
    return 1;
  }
  benchmark::Initialize(&argc, argv);
  benchmark::RunSpecifiedBenchmarks();
  benchmark::Shutdown();
  return 0;
}
