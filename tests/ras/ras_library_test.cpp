// The binding against the fake service: every way Load can go, and which library the operations
// the tool uses then reach.
#include "ras/ras_library.h"

#include <gtest/gtest.h>

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

enum Library { kMissing, kComplete, kIncomplete, kBare };

// Incomplete libraries lack RasGetEntryPropertiesA; bare ones the other functions the tool uses.
void Offer(CFakeLibraryLoader& loader, const char* fileName, Library library) {
  const std::set<std::string> lacking[] = {
      {}, {}, {"RasGetEntryPropertiesA"}, {"RasSetEntryPropertiesA", "RasEnumDevicesA"}};
  if (library != kMissing) {
    loader.Offer(fileName, lacking[library]);
  }
}

// Where Load succeeds, storing an entry and listing the devices reach the library in use, with
// the phone book and the service's result unchanged; a missing function answers 127 unasked.
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
      {"altras bare", kComplete, "1", kBare, 0, 100, 1, {}, "altras.dll"},
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
    EXPECT_EQ(Fake().calls,
              c.warmedUp ? Strings{std::string(c.warmedUp) + ":RasGetEntryPropertiesA warm-up"}
                         : Strings{});
    EXPECT_EQ(Fake().phoneBook, c.warmedUp ? kPhoneBook : nullptr);
    if (c.result != 0) {
      continue;
    }
    Fake().calls.clear();
    Fake().phoneBook = nullptr;
    Fake().result = ERROR_BUFFER_INVALID;  // no code that either operation treats specially
    Fake().listAnswers = {{ERROR_BUFFER_INVALID}};
    const bool bare = (c.kind == 100 ? c.alternative : c.standard) == kBare;
    const uint32_t result = bare ? ERROR_PROC_NOT_FOUND : ERROR_BUFFER_INVALID;
    RASENTRYA entry = {};
    EXPECT_EQ(ras.SetEntryProperties("a", &entry, sizeof entry, nullptr, 0), result);
    EXPECT_EQ(Fake().phoneBook, bare ? nullptr : kPhoneBook);
    RASDEVINFOA device = {};
    DWORD size = sizeof device;
    DWORD count = 0;
    EXPECT_EQ(ras.EnumDevices(&device, &size, &count), result);
    const std::string library = c.warmedUp;
    const Strings reached = {library + ":RasSetEntryPropertiesA", library + ":RasEnumDevicesA"};
    EXPECT_EQ(Fake().calls, bare ? Strings{} : reached);
  }
}

}  // namespace
