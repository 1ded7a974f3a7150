// The settings file: what ReadModemSelection finds in the record and returns for each state of
// the file, and what the file holds after WriteModemSelection. Files are real, in a temporary
// directory, and go through the profile component (on Windows, the platform's own).
#include "app/settings_file.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cstring>
#include <string>

#include "app/run_fixtures.h"
#include "framework/text.h"
#include "platform/profile.h"
#include "platform/result_codes.h"

namespace {

// The whole field: the value, then zero bytes to its end.
std::string Field(const std::string& value, size_t capacity) {
  return value + std::string(capacity - value.size(), '\0');
}

struct ReadCase {
  const char* name;
  const char* content;  // null: no file
  int32_t result;
  std::string deviceType;
  std::string deviceName;
};

TEST(ReadModemSelection, FillsBothFieldsAndTellsWhetherADeviceIsRemembered) {
  const std::string longName(130, 'n');
  const std::string longValues =
      "[Modem Selection]\nDeviceType=typetypetypetypeTYPE\nDeviceName=" + longName + "\n";
  const ReadCase cases[] = {
      {"no file", nullptr, kNoRememberedDevice, "", ""},
      {"no section", "[Other]\nDeviceType=modem\nDeviceName=Modem A\n", kNoRememberedDevice, "",
       ""},
      {"both keys", "[Modem Selection]\nDeviceType=modem\nDeviceName=Modem A\n", 0, "modem",
       "Modem A"},
      {"name missing", "[Modem Selection]\nDeviceType=modem\n", kNoRememberedDevice, "modem", ""},
      {"type empty", "[Modem Selection]\nDeviceType=\nDeviceName=Modem A\n", kNoRememberedDevice,
       "", "Modem A"},
      {"values longer than the fields", longValues.c_str(), 0, "typetypetypetype",
       longName.substr(0, 128)},
  };
  for (const ReadCase& c : cases) {
    SCOPED_TRACE(c.name);
    test::ScopedTempDirectory directory;
    const std::string file = directory.File("dialkit.ini");
    if (c.content != nullptr) {
      test::WriteFileBytes(file, c.content);
    }
    RASENTRYA entry;
    std::memset(&entry, 0x5a, sizeof entry);

    EXPECT_EQ(ReadModemSelection(&entry, file.c_str()), c.result);
    EXPECT_EQ(std::string(entry.szDeviceType, sizeof entry.szDeviceType),
              Field(c.deviceType, sizeof entry.szDeviceType));
    EXPECT_EQ(std::string(entry.szDeviceName, sizeof entry.szDeviceName),
              Field(c.deviceName, sizeof entry.szDeviceName));
    // Nothing else of the record is touched.
    EXPECT_EQ(static_cast<unsigned char>(entry.szAutodialFunc[259]), 0x5a);
    EXPECT_EQ(static_cast<unsigned char>(entry.szX25PadType[0]), 0x5a);
  }
}

TEST(WriteModemSelection, WritesBothKeysCreatingOrReplacingAndKeepingTheRest) {
  const struct {
    const char* before;  // null: no file
    std::string type;    // of 17 characters: a field without its terminator
    std::string written;
  } cases[] = {
      {nullptr, "modem", "modem"},
      {"[Libraries]\nUseAltras=1\n", "modem", "modem"},
      {"[Libraries]\nUseAltras=1\n[Modem Selection]\nDeviceType=isdn\nDeviceName=Old\n", "modem",
       "modem"},
      // The field's own 16 characters, not the name behind them.
      {nullptr, std::string(17, 't'), std::string(16, 't')},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.before != nullptr ? c.before : "no file");
    test::ScopedTempDirectory directory;
    const std::string file = directory.File("dialkit.ini");
    if (c.before != nullptr) {
      test::WriteFileBytes(file, c.before);
    }
    RASENTRYA entry;
    std::memset(&entry, 0x5a, sizeof entry);
    std::memcpy(entry.szDeviceType, c.type.data(), std::min(c.type.size() + 1, size_t{17}));
    CopyText(entry.szDeviceName, "Modem A");

    WriteModemSelection(&entry, file.c_str());

    EXPECT_EQ(test::Remembered(file), c.written + ": Modem A");
    char altras[8];
    GetPrivateProfileStringA("Libraries", "UseAltras", "", altras, sizeof altras, file.c_str());
    EXPECT_STREQ(altras, c.before != nullptr ? "1" : "");
  }
}

}  // namespace
