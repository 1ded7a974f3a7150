// Which implementation of the platform's functions a test program meets: the POSIX build's own,
// or the Win32 functions, of real Windows or of Wine. Tables that record platform behaviour use
// it for their marks: a row where Wine is known to differ from Windows is still checked against
// Windows' behaviour everywhere else, and under Wine is expected to differ until Wine changes.
#pragma once

namespace test {

enum class PlatformUnderTest { kOurs, kWindows, kWine };

PlatformUnderTest CurrentPlatformUnderTest();

}  // namespace test
