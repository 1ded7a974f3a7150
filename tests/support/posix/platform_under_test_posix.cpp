#include "support/platform_under_test.h"

namespace test {

PlatformUnderTest CurrentPlatformUnderTest() {
  return PlatformUnderTest::kOurs;
}

}  // namespace test
