// The binding against the fake service: every way Load can go, which library each operation
// reaches, and the operations that do more than forward.
#include "ras/ras_library.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <functional>
#include <string>

#include "platform/environment.h"
#include "platform/result_codes.h"
#include "ras/fake_ras_service.h"
#include "support/test_files.h"

namespace {

using Strings = std::vector<std::string>;

// A profile file with the given UseAltras line (none when null).
std::string WriteProfile(const test::ScopedTempDirectory& directory, const char* useAltras) {
  const std::string path = directory.File("profile.ini");
  test::WriteFileBytes(
      path, std::string("[Libraries]\n") +
                (useAltras != nullptr ? std::string("UseAltras=") + useAltras : "Other=1") + "\n");
  return path;
}

struct LoadCase {
  const char* name;
  bool standardOffered;
  bool standardHasGetEntryProperties;
  const char* useAltras;
  bool alternativeOffered;
  bool alternativeHasGetEntryProperties;
  uint32_t result;
  uint32_t kind;
  int alternativeLoads;
  Strings released;
  const char* warmedUp;  // library whose RasGetEntryPropertiesA got the warm-up call
};

TEST(RasLibraryLoad, FollowsSwitchAndFallbackAndFreesOnFailure) {
  const LoadCase cases[] = {
      {"no rasapi32", false, true, "1", true, true, kRasLibraryNotLoaded, 200, 0, {}, nullptr},
      {"switch absent", true, true, nullptr, true, true, 0, 200, 0, {}, "rasapi32.dll"},
      {"switch 0", true, true, "0", true, true, 0, 200, 0, {}, "rasapi32.dll"},
      {"switch 2", true, true, "2", true, true, 0, 100, 1, {}, "altras.dll"},
      {"rasapi32 incomplete", true, false, "0", true, true, 0, 100, 1, {}, "altras.dll"},
      {"no altras",
       true,
       true,
       "1",
       false,
       true,
       kAltRasLibraryNotLoaded,
       200,
       1,
       {"rasapi32.dll"},
       nullptr},
      {"incomplete, no altras",
       true,
       false,
       nullptr,
       false,
       true,
       kAltRasLibraryNotLoaded,
       200,
       1,
       {"rasapi32.dll"},
       nullptr},
      {"altras incomplete",
       true,
       true,
       "1",
       true,
       false,
       kAltRasLibraryNotLoaded,
       200,
       1,
       {"altras.dll", "rasapi32.dll"},
       nullptr},
  };
  test::ScopedTempDirectory directory;
  for (const LoadCase& c : cases) {
    SCOPED_TRACE(c.name);
    CFakeLibraryLoader loader;
    const std::set<std::string> incomplete = {"RasGetEntryPropertiesA"};
    if (c.standardOffered) {
      loader.Offer("rasapi32.dll",
                   c.standardHasGetEntryProperties ? std::set<std::string>{} : incomplete);
    }
    if (c.alternativeOffered) {
      loader.Offer("altras.dll",
                   c.alternativeHasGetEntryProperties ? std::set<std::string>{} : incomplete);
    }
    const std::string profile = WriteProfile(directory, c.useAltras);
    const char* phoneBook = "book.pbk";
    CRasLibrary ras;
    EXPECT_EQ(ras.Load(phoneBook, profile.c_str()), c.result);
    EXPECT_EQ(ras.LibraryKind(), c.kind);
    EXPECT_EQ(loader.Loads("rasapi32.dll"), 1);
    EXPECT_EQ(loader.Loads("altras.dll"), c.alternativeLoads);
    EXPECT_EQ(loader.Released(), c.released);
    if (c.warmedUp != nullptr) {
      EXPECT_EQ(Fake().calls, Strings{std::string(c.warmedUp) + ":RasGetEntryPropertiesA"});
      EXPECT_TRUE(Fake().lastCallWasWarmUp);
      EXPECT_EQ(Fake().phoneBook, phoneBook);
    } else {
      EXPECT_TRUE(Fake().calls.empty());
    }
  }
}

// The null profile name reads the default profile. Only a default profile inside the temporary
// stand-in system of a POSIX test program may be written; a real one (the Wine prefix's) is not.
TEST(RasLibraryLoad, ReadsSwitchFromDefaultProfileWhenGivenNoFile) {
  const std::filesystem::path root = GetEnvironmentText("SystemRoot");
  const std::filesystem::path temporary = std::filesystem::temp_directory_path();
  if (root.empty() || root.string().rfind(temporary.string(), 0) != 0) {
    GTEST_SKIP() << "the default profile is not the test's own";
  }
  const std::string defaultProfile = (root / "win.ini").string();
  test::WriteFileBytes(defaultProfile, "[Libraries]\nUseAltras=1\n");
  CFakeLibraryLoader loader;
  loader.Offer("rasapi32.dll");
  loader.Offer("altras.dll");
  CRasLibrary ras;
  EXPECT_EQ(ras.Load(nullptr, nullptr), 0u);
  EXPECT_EQ(ras.LibraryKind(), 100u);
  std::filesystem::remove(defaultProfile);
}

// Each operation with the library it must reach when the alternative library is in use, and
// whether it passes the phone book.
struct Operation {
  const char* function;
  bool alternative;
  bool takesPhoneBook;
  std::function<uint32_t(CRasLibrary&)> call;
};

void WINAPI IgnoreDialEvent(UINT, RASCONNSTATE, DWORD) {}

std::vector<Operation> AllOperations() {
  static char name[257] = "entry";
  static RASENTRYA entry;
  static RASDEVINFOA device;
  static RASCONNSTATUSA status = {sizeof(RASCONNSTATUSA), RASCS_OpenPort, 0, {}, {}};
  static RASDIALPARAMSA parameters;
  static RASCTRYINFO country;
  static DWORD size, count;
  static char text[64];
  static HRASCONN connection;
  return {
      {"RasValidateEntryNameA", true, true,
       [](CRasLibrary& r) { return r.ValidateEntryName(name); }},
      {"RasRenameEntryA", true, true, [](CRasLibrary& r) { return r.RenameEntry("a", "b"); }},
      {"RasDeleteEntryA", true, true, [](CRasLibrary& r) { return r.DeleteEntry("a"); }},
      {"RasGetEntryPropertiesA", true, true,
       [](CRasLibrary& r) { return r.GetEntryProperties("a", &entry, &size, nullptr, nullptr); }},
      {"RasSetEntryPropertiesA", true, true,
       [](CRasLibrary& r) { return r.SetEntryProperties("a", &entry, 1768, nullptr, 0); }},
      {"RasGetCountryInfoA", true, false,
       [](CRasLibrary& r) { return r.GetCountryInfo(&country, &size); }},
      {"RasEnumDevicesA", true, false,
       [](CRasLibrary& r) { return r.EnumDevices(&device, &size, &count); }},
      {"RasGetConnectStatusA", false, false,
       [](CRasLibrary& r) { return r.GetConnectStatus(connection, &status); }},
      {"RasHangUpA", false, false,
       [](CRasLibrary& r) {
         r.HangUp(connection);
         return Fake().result;
       }},
      {"RasDialA", false, true,
       [](CRasLibrary& r) {
         return r.Dial(nullptr, &parameters, 0, reinterpret_cast<void*>(&IgnoreDialEvent),
                       &connection);
       }},
      {"RasEditPhonebookEntryA", false, true,
       [](CRasLibrary& r) { return r.EditPhonebookEntry(nullptr, "a"); }},
      {"RasEnumEntriesA", false, true,
       [](CRasLibrary& r) {
         RASENTRYNAMEA* entries = nullptr;
         uint32_t listed = 0;
         return r.EnumEntries(&entries, &listed);
       }},
      {"RasGetErrorStringA", false, false,
       [](CRasLibrary& r) { return r.GetErrorString(603, text, sizeof text); }},
  };
}

TEST(RasLibraryOperations, ReachTheirLibraryAndPassResultsAndPhoneBookUnchanged) {
  test::ScopedTempDirectory directory;
  for (const char* useAltras : {"0", "1"}) {
    CFakeLibraryLoader loader;
    loader.Offer("rasapi32.dll");
    loader.Offer("altras.dll");
    const std::string profile = WriteProfile(directory, useAltras);
    const char* phoneBook = "book.pbk";
    CRasLibrary ras;
    ASSERT_EQ(ras.Load(phoneBook, profile.c_str()), 0u);
    // 610 is no code that any operation treats specially.
    Fake().result = ERROR_BUFFER_INVALID;
    Fake().listAnswers.assign(2, FakeListAnswer{ERROR_BUFFER_INVALID, 0, 0, {}});
    for (const Operation& operation : AllOperations()) {
      SCOPED_TRACE(std::string(operation.function) + " with UseAltras=" + useAltras);
      Fake().calls.clear();
      Fake().phoneBook = nullptr;
      EXPECT_EQ(operation.call(ras), uint32_t{ERROR_BUFFER_INVALID});
      const bool fromAlternative = operation.alternative && *useAltras == '1';
      EXPECT_EQ(Fake().calls, Strings{std::string(fromAlternative ? "altras.dll" : "rasapi32.dll") +
                                      ":" + operation.function});
      EXPECT_EQ(Fake().phoneBook, operation.takesPhoneBook ? phoneBook : nullptr);
    }
  }
}

TEST(RasLibraryOperations, AnswerProcNotFoundForFunctionsTheLibraryLacks) {
  CFakeLibraryLoader loader;
  std::set<std::string> missing;
  for (const Operation& operation : AllOperations()) {
    missing.insert(operation.function);
  }
  missing.erase("RasGetEntryPropertiesA");
  loader.Offer("rasapi32.dll", missing);
  CRasLibrary ras;
  ASSERT_EQ(ras.Load(nullptr, nullptr), 0u);
  Fake().result = 0;
  for (const Operation& operation : AllOperations()) {
    SCOPED_TRACE(operation.function);
    const uint32_t expected = operation.function == std::string("RasGetEntryPropertiesA") ||
                                      operation.function == std::string("RasHangUpA")
                                  ? 0
                                  : ERROR_PROC_NOT_FOUND;
    EXPECT_EQ(operation.call(ras), expected);
  }
}

struct ValidateCase {
  const char* name;
  uint32_t validation;
  std::vector<FakeListAnswer> entries;
  const char* expectedName;
  int listCalls;
};

TEST(RasLibraryValidateEntryName, TakesStoredSpellingOnlyWhenNameIsTaken) {
  const ValidateCase cases[] = {
      {"free name", 0, {}, "my isp", 0},
      {"invalid name", ERROR_INVALID_NAME, {}, "my isp", 0},
      {"other case",
       ERROR_ALREADY_EXISTS,
       {{603, 792, 3, {}}, {0, 792, 3, {{"Other"}, {"My ISP"}, {"MY ISP"}}}},
       "My ISP",
       2},
      {"no match", ERROR_ALREADY_EXISTS, {{0, 264, 1, {{"Other"}}}}, "my isp", 1},
      {"list fails",
       ERROR_ALREADY_EXISTS,
       {{ERROR_BUFFER_INVALID, 0, 1, {{"My ISP"}}}},
       "my isp",
       1},
  };
  for (const ValidateCase& c : cases) {
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
    EXPECT_EQ(Fake().offeredSizes.size(), static_cast<size_t>(c.listCalls));
  }
}

}  // namespace
