// What the settings file holds after WriteModemSelection, through the profile component (on
// Windows, the platform's own). Reading it back is checked where it is used, in device assignment.
#include "app/settings_file.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cstring>
#include <string>

#include "app/run_cases.h"
#include "framework/text.h"
#include "platform/profile.h"

namespace {

TEST(WriteModemSelection, WritesBothKeysCreatingOrReplacingAndKeepingTheRest) {
  const struct {
    const char* before;  // null: no file
    std::string type;    // of 17 characters: a field without its terminator
    std::string written;
  } cases[] = {
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
    std::memcpy(entry.szDeviceType, c.type.c_str(), std::min(c.type.size() + 1, size_t{17}));
    CopyText(entry.szDeviceName, "Modem A");

    WriteModemSelection(&entry, file.c_str());

    EXPECT_EQ(test::Remembered(file), c.written + ": Modem A");
    char altras[8];
    GetPrivateProfileStringA("Libraries", "UseAltras", "", altras, sizeof altras, file.c_str());
    EXPECT_STREQ(altras, c.before != nullptr ? "1" : "");
  }
}

}  // namespace
