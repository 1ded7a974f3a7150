// The binding against the fake service: every way Load can go, which library each operation
// then reaches, and the operation that does more than forward.
#include "ras/ras_library.h"

#include <gtest/gtest.h>

#include <functional>
#include <string>

#include "platform/result_codes.h"
#include "ras/fake_ras_service.h"
#include "support/test_files.h"

namespace {

using Strings = std::vector<std::string>;
const char* const kPhoneBook = "book.pbk";

// A profile file with the given UseAltras line (none when null).
std::string WriteProfile(const test::ScopedTempDirectory& directory, const char* useAltras) {
  const std::string path = directory.File("profile.ini");
  test::WriteFileBytes(path, std::string("[Libraries]\n") +
                                 (useAltras ? std::string("UseAltras=") + useAltras : "") + "\n");
  return path;
}

void WINAPI IgnoreDialEvent(UINT, RASCONNSTATE, DWORD) {}

char g_name[257] = "entry";
RASENTRYA g_entry;
RASDEVINFOA g_device;
RASCONNSTATUSA g_status = {sizeof(RASCONNSTATUSA), RASCS_OpenPort, 0, {}, {}};
RASDIALPARAMSA g_parameters;
RASCTRYINFO g_country;
DWORD g_size, g_count;
HRASCONN g_connection;
RASENTRYNAMEA* g_entries;
uint32_t g_listed;
void* const kNotifier = reinterpret_cast<void*>(&IgnoreDialEvent);
using R = CRasLibrary&;

// Each operation: the function it reaches, whether that comes from the alternative library when
// it is in use, and whether it passes the phone book. HangUp has no result to give; the fake's
// result stands in for it.
const struct {
  const char* function;
  bool alternative;
  bool takesPhoneBook;
  std::function<uint32_t(R)> call;
} kOperations[] = {
    // clang-format off
    {"RasValidateEntryNameA", true, true, [](R r) { return r.ValidateEntryName(g_name); }},
    {"RasRenameEntryA", true, true, [](R r) { return r.RenameEntry("a", "b"); }},
    {"RasDeleteEntryA", true, true, [](R r) { return r.DeleteEntry("a"); }},
    {"RasGetEntryPropertiesA", true, true,
     [](R r) { return r.GetEntryProperties("a", &g_entry, &g_size, nullptr, nullptr); }},
    {"RasSetEntryPropertiesA", true, true,
     [](R r) { return r.SetEntryProperties("a", &g_entry, 1768, nullptr, 0); }},
    {"RasGetCountryInfoA", true, false, [](R r) { return r.GetCountryInfo(&g_country, &g_size); }},
    {"RasEnumDevicesA", true, false,
     [](R r) { return r.EnumDevices(&g_device, &g_size, &g_count); }},
    {"RasGetConnectStatusA", false, false,
     [](R r) { return r.GetConnectStatus(g_connection, &g_status); }},
    {"RasHangUpA", false, false, [](R r) { return r.HangUp(g_connection), Fake().result; }},
    {"RasDialA", false, true,
     [](R r) { return r.Dial(nullptr, &g_parameters, 0, kNotifier, &g_connection); }},
    {"RasEditPhonebookEntryA", false, true, [](R r) { return r.EditPhonebookEntry(nullptr, "a"); }},
    {"RasEnumEntriesA", false, true, [](R r) { return r.EnumEntries(&g_entries, &g_listed); }},
    {"RasGetErrorStringA", false, false, [](R r) { return r.GetErrorString(6, g_name, 9); }},
    // clang-format on
};

// Incomplete: lacks RasGetEntryPropertiesA; bare: lacks every function but that one.
enum Library { kMissing, kComplete, kIncomplete, kBare };

void Offer(CFakeLibraryLoader& loader, const char* fileName, Library library) {
  std::set<std::string> missing;
  for (const auto& operation : kOperations) {
    if (library ==
        (operation.function == std::string("RasGetEntryPropertiesA") ? kIncomplete : kBare)) {
      missing.insert(operation.function);
    }
  }
  if (library != kMissing) {
    loader.Offer(fileName, missing);
  }
}

// Where Load succeeds, every operation then reaches its library, passes the phone book where it
// takes one, and gives the service's result unchanged; a missing function answers 127 unasked.
TEST(RasLibrary, LoadFollowsSwitchAndFallbackAndFreesOnFailureThenOperationsReachTheirLibrary) {
  const struct {
    const char* name;
    Library standard;
    const char* useAltras;
    Library alternative;
    uint32_t result;
    uint32_t kind;
    int alternativeLoads;
    Strings released;
    const char* warmedUp;  // library whose RasGetEntryPropertiesA got the warm-up call
  } cases[] = {
      // clang-format off
      {"no rasapi32", kMissing, "1", kComplete, 83007, 200, 0, {}, nullptr},
      {"switch absent", kComplete, nullptr, kComplete, 0, 200, 0, {}, "rasapi32.dll"},
      {"switch 0", kComplete, "0", kComplete, 0, 200, 0, {}, "rasapi32.dll"},
      {"switch 2", kComplete, "2", kComplete, 0, 100, 1, {}, "altras.dll"},
      {"rasapi32 incomplete", kIncomplete, "0", kComplete, 0, 100, 1, {}, "altras.dll"},
      {"rasapi32 bare", kBare, "0", kComplete, 0, 200, 0, {}, "rasapi32.dll"},
      {"no altras", kComplete, "1", kMissing, 83009, 200, 1, {"rasapi32.dll"}, nullptr},
      {"rasapi32 incomplete, no altras", kIncomplete, nullptr, kMissing, 83009, 200, 1,
       {"rasapi32.dll"}, nullptr},
      {"altras incomplete", kComplete, "1", kIncomplete, 83009, 200, 1,
       {"altras.dll", "rasapi32.dll"}, nullptr},
      // clang-format on
  };
  test::ScopedTempDirectory directory;
  for (const auto& c : cases) {
    SCOPED_TRACE(c.name);
    CFakeLibraryLoader loader;
    Offer(loader, "rasapi32.dll", c.standard);
    Offer(loader, "altras.dll", c.alternative);
    CRasLibrary ras;
    EXPECT_EQ(ras.Load(kPhoneBook, WriteProfile(directory, c.useAltras).c_str()), c.result);
    EXPECT_EQ(ras.LibraryKind(), c.kind);
    EXPECT_EQ(loader.loads["rasapi32.dll"], 1);
    EXPECT_EQ(loader.loads["altras.dll"], c.alternativeLoads);
    EXPECT_EQ(loader.released, c.released);
    EXPECT_EQ(Fake().calls, c.warmedUp
                                ? Strings{std::string(c.warmedUp) + ":RasGetEntryPropertiesA"}
                                : Strings{});
    EXPECT_EQ(Fake().lastCallWasWarmUp, c.warmedUp != nullptr);
    EXPECT_EQ(Fake().phoneBook, c.warmedUp ? kPhoneBook : nullptr);
    if (c.result != 0) {
      continue;
    }
    // 610 is no code that any operation treats specially.
    Fake().result = ERROR_BUFFER_INVALID;
    Fake().listAnswers.assign(2, {ERROR_BUFFER_INVALID});
    for (const auto& operation : kOperations) {
      SCOPED_TRACE(operation.function);
      Fake().calls.clear();
      Fake().phoneBook = nullptr;
      const bool called =
          c.standard != kBare || operation.function == std::string("RasGetEntryPropertiesA");
      const bool hangUp = operation.function == std::string("RasHangUpA");
      EXPECT_EQ(operation.call(ras),
                called || hangUp ? ERROR_BUFFER_INVALID : ERROR_PROC_NOT_FOUND);
      const bool fromAlternative = operation.alternative && c.kind == 100;
      const std::string library = fromAlternative ? "altras.dll" : "rasapi32.dll";
      EXPECT_EQ(Fake().calls, called ? Strings{library + ":" + operation.function} : Strings{});
      EXPECT_EQ(Fake().phoneBook, called && operation.takesPhoneBook ? kPhoneBook : nullptr);
    }
  }
}

TEST(RasLibraryValidateEntryName, TakesStoredSpellingOnlyWhenNameIsTaken) {
  const struct {
    const char* name;
    uint32_t validation;
    std::vector<FakeListAnswer> entries;
    const char* expectedName;
    size_t listCalls;
  } cases[] = {
      // clang-format off
      {"free name", 0, {}, "my isp", 0},
      {"invalid name", ERROR_INVALID_NAME, {}, "my isp", 0},
      {"other case", 183, {{603, 792}, {0, 792, 3, {"Other", "My ISP", "MY ISP"}}}, "My ISP", 2},
      {"no match", 183, {{0, 264, 1, {"Other"}}}, "my isp", 1},
      {"list fails", 183, {{610, 264, 1, {"My ISP"}}}, "my isp", 1},
      // clang-format on
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.name);
    CFakeLibraryLoader loader;
    loader.Offer("rasapi32.dll");
    CRasLibrary ras;
    ASSERT_EQ(ras.Load(nullptr, nullptr), 0u);
    Fake().result = c.validation;
    Fake().listAnswers.assign(c.entries.begin(), c.entries.end());
    char name[257] = "my isp";
    EXPECT_EQ(ras.ValidateEntryName(name), c.validation);
    EXPECT_STREQ(name, c.expectedName);
    EXPECT_EQ(Fake().offeredSizes.size(), c.listCalls);
  }
}

}  // namespace
