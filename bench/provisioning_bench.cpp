// What the provisioning costs, piece by piece and whole:
//   - one profile read of examples/dialup-vpn.ini, which the profile component keeps between
//     reads;
//   - reading the entry descriptions of both sections of that file: 49 such reads;
//   - the same 49 reads from a file that the component has not kept yet, as a run makes them:
//     of examples/dialup-vpn.ini itself, and of files of 1 MB and 100 MB (made when the benchmark
//     starts) in which the two sections follow the sections of some other program;
//   - the sorted device list of 3 and of 10,000 devices, from a fake service that answers at
//     once, so that the figures are the tool's own (two calls, the copy and the sort);
//   - a whole provisioning run in process, the README's typical job, against the stand-in
//     service: load, two existence queries, both descriptions, device assignment with a
//     remembered modem, both entries stored (the phone book rewritten and flushed each time).
//
//   build/host-release/bin/provisioning_bench
#include <benchmark/benchmark.h>

#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <map>
#include <string>
#include <vector>

#include "app/provision_app.h"
#include "entry/entry_reader.h"
#include "framework/window_system.h"
#include "platform/library_loader.h"
#include "platform/profile.h"
#include "platform/result_codes.h"
#include "ras/device_list.h"
#include "ras/ras_library.h"
#include "support/command_line_values.h"

namespace {

namespace fs = std::filesystem;

// A stand-in system and the tool's own folder, made once for the whole program.
struct CScene {
  fs::path root;
  fs::path program;
  std::string descriptions;
  std::string phoneBook;
};

void WriteFile(const fs::path& path, const std::string& bytes) {
  std::ofstream(path, std::ios::binary) << bytes;
}

CScene& Scene() {
  static CScene scene = [] {
    char pattern[] = "/tmp/dialkit-bench.XXXXXX";
    CScene made;
    made.root = mkdtemp(pattern);
    made.program = made.root / "program";
    fs::create_directories(made.root / "system32" / "ras");
    fs::create_directories(made.program);
    fs::copy_file(fs::path(DIALKIT_SOURCE_DIR) / "examples" / "dialup-vpn.ini",
                  made.program / "dialup-vpn.ini");
    made.descriptions = (made.program / "dialup-vpn.ini").string();
    made.phoneBook = (made.root / "system32" / "ras" / "rasphone.pbk").string();
    WriteFile(made.root / "system32" / "ras" / "devices.txt",
              "modem Standard 28800 bps Modem\nmodem Acme 56k Voice\nvpn WAN Miniport (PPTP)\n");
    WriteFile(made.program / "dialkit.ini",
              "[Modem Selection]\nDeviceType=modem\nDeviceName=Acme 56k Voice\n");
    // Written well before the run, as a run's files are: the profile component keeps no file
    // that changed within the last two seconds.
    for (const char* name : {"dialup-vpn.ini", "dialkit.ini"}) {
      fs::last_write_time(made.program / name,
                          fs::file_time_type::clock::now() - std::chrono::hours(1));
    }
    setenv("SystemRoot", made.root.c_str(), 1);
    return made;
  }();
  return scene;
}

void ReadOneProfileValue(benchmark::State& state) {
  const char* file = Scene().descriptions.c_str();
  char value[216];
  for (auto _ : state) {
    benchmark::DoNotOptimize(
        GetPrivateProfileStringA("VPNEntry", "Options", "", value, sizeof value, file));
  }
}
BENCHMARK(ReadOneProfileValue);

void ReadBothEntryDescriptions(benchmark::State& state) {
  const char* file = Scene().descriptions.c_str();
  RASENTRYA mainEntry;
  RASENTRYA vpnEntry;
  for (auto _ : state) {
    ReadEntryDescription(&mainEntry, file, nullptr);
    benchmark::DoNotOptimize(ReadEntryDescription(&vpnEntry, file, "VPNEntry"));
  }
}
BENCHMARK(ReadBothEntryDescriptions);

// dialup-vpn.ini behind sections of another program, ten keys each, to about `size` bytes.
const std::string& LargeDescriptions(size_t size) {
  static std::map<size_t, std::string> made;
  std::string& path = made[size];
  if (path.empty()) {
    path = (Scene().program / ("descriptions-" + std::to_string(size) + ".ini")).string();
    std::string bytes;
    bytes.reserve(size + 4096);
    for (int section = 0; bytes.size() < size; ++section) {
      bytes += "[Other Program " + std::to_string(section) + "]\n";
      for (int key = 0; key < 10; ++key) {
        bytes += "Setting" + std::to_string(key) + "=a value of some thirty characters\n";
      }
    }
    std::ifstream example(fs::path(DIALKIT_SOURCE_DIR) / "examples" / "dialup-vpn.ini");
    bytes.append(std::istreambuf_iterator<char>(example), std::istreambuf_iterator<char>());
    WriteFile(path, bytes);
  }
  return path;
}

void ReadBothEntryDescriptionsFirstTime(benchmark::State& state) {
  const size_t size = static_cast<size_t>(state.range(0));
  const std::string file = size == 0 ? Scene().descriptions : LargeDescriptions(size);
  // A file changed within the last two seconds is not kept, so the times stay an hour back.
  const auto hourAgo = fs::file_time_type::clock::now() - std::chrono::hours(1);
  RASENTRYA mainEntry;
  RASENTRYA vpnEntry;
  int64_t changes = 0;
  for (auto _ : state) {
    state.PauseTiming();
    fs::last_write_time(file, hourAgo + std::chrono::nanoseconds(++changes));
    state.ResumeTiming();
    ReadEntryDescription(&mainEntry, file.c_str(), nullptr);
    benchmark::DoNotOptimize(ReadEntryDescription(&vpnEntry, file.c_str(), "VPNEntry"));
  }
  state.SetBytesProcessed(state.iterations() * static_cast<int64_t>(fs::file_size(file)));
}
BENCHMARK(ReadBothEntryDescriptionsFirstTime)
    ->Arg(0)
    ->Arg(1 << 20)
    ->Arg(100 << 20)
    ->Unit(benchmark::kMillisecond);

// The fake service's devices: types and names in no order, so that the sort has work to do.
std::vector<RASDEVINFOA> g_devices;

DWORD WINAPI AnswerEntryProperties(const char*, const char*, RASENTRYA*, DWORD*, BYTE*, DWORD*) {
  return 0;
}

DWORD WINAPI AnswerDevices(RASDEVINFOA* devices, DWORD* size, DWORD* count) {
  const DWORD needed = static_cast<DWORD>(g_devices.size() * sizeof(RASDEVINFOA));
  *count = static_cast<DWORD>(g_devices.size());
  if (*size < needed) {
    *size = needed;
    return ERROR_BUFFER_TOO_SMALL;
  }
  std::memcpy(devices, g_devices.data(), needed);
  return 0;
}

class CFakeServiceLoader final : public CLibraryLoader {
 public:
  LibraryHandle LoadByName(const char*) override { return reinterpret_cast<LibraryHandle>(this); }
  EntryPoint FindEntryPoint(LibraryHandle, const char* name) override {
    if (std::strcmp(name, "RasGetEntryPropertiesA") == 0) {
      return reinterpret_cast<EntryPoint>(&AnswerEntryProperties);
    }
    if (std::strcmp(name, "RasEnumDevicesA") == 0) {
      return reinterpret_cast<EntryPoint>(&AnswerDevices);
    }
    return nullptr;
  }
  void Release(LibraryHandle) override {}
};

void ListDevices(benchmark::State& state) {
  Scene();
  g_devices.assign(static_cast<size_t>(state.range(0)), RASDEVINFOA{sizeof(RASDEVINFOA), {}, {}});
  unsigned pseudoRandom = 12345;
  for (RASDEVINFOA& device : g_devices) {
    pseudoRandom = pseudoRandom * 1103515245u + 12345u;
    std::snprintf(device.szDeviceType, sizeof device.szDeviceType, "%s",
                  (pseudoRandom >> 16) % 3 == 0 ? "vpn" : "modem");
    std::snprintf(device.szDeviceName, sizeof device.szDeviceName, "Device %u",
                  (pseudoRandom >> 8) % 100000);
  }
  static CFakeServiceLoader loader;
  CLibraryLoader* previous = ReplaceLibraryLoader(&loader);
  CRasLibrary binding;
  binding.Load(nullptr, nullptr);
  ReplaceLibraryLoader(previous);
  for (auto _ : state) {
    RASDEVINFOA* list = nullptr;
    uint32_t count = 0;
    GetSortedDeviceList(binding, &list, &count);
    benchmark::DoNotOptimize(list);
    std::free(list);
  }
  state.SetItemsProcessed(state.iterations() * state.range(0));
}
BENCHMARK(ListDevices)->Arg(3)->Arg(10000);

// The run must need no answer: anything shown is a fault of the set-up.
class CSilentWindowSystem final : public CWindowSystem {
 public:
  int ShowMessageBox(const char* text, const char*, UINT) override {
    std::fprintf(stderr, "unexpected message box: %s\n", text);
    std::abort();
  }
  int RunModalDialog(CDialog&) override {
    std::fprintf(stderr, "unexpected dialog\n");
    std::abort();
  }
};

void ProvisionTypicalEntries(benchmark::State& state) {
  CScene& scene = Scene();
  static CSilentWindowSystem windows;
  ReplaceWindowSystem(&windows);
  const std::string executable = (scene.program / "dialkit").string();
  for (auto _ : state) {
    // Each run finds neither entry, as the README's first run does.
    state.PauseTiming();
    std::remove(scene.phoneBook.c_str());
    test::ClearCommandLineValues();
    state.ResumeTiming();
    RunApplication("INIT=dialup-vpn.ini CONNECT=\"Home Dial-Up\" VPN=\"Office VPN\"",
                   executable.c_str());
  }
  ReplaceWindowSystem(nullptr);
}
BENCHMARK(ProvisionTypicalEntries)->Unit(benchmark::kMicrosecond);

}  // namespace

int main(int argc, char** argv) {
  benchmark::Initialize(&argc, argv);
  benchmark::RunSpecifiedBenchmarks();
  benchmark::Shutdown();
  std::error_code ignored;
  fs::remove_all(Scene().root, ignored);
  return 0;
}
