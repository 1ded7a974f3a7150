// The dotted-address conversion on its own: splitting, the four parts, and what each part reads as.
#include <gtest/gtest.h>

#include <array>
#include <string>

#include "entry/entry_reader.h"

namespace {

TEST(DottedAddress, SplitsIntoFourPartsAndKeepsEachToAByte) {
  const struct {
    const char* text;
    std::array<int, 4> parts;
  } cases[] = {
      // Splitting.
      {"10.0.0.1", {10, 0, 0, 1}},
      {"10..0.1", {10, 0, 1, 0}},
      {"..1.2", {1, 2, 0, 0}},
      {"1\n2\n3\n4", {1, 2, 3, 4}},
      {"1.\n.2", {1, 2, 0, 0}},
      {"1. \n5", {1, 0, 5, 0}},  // a blank part ends at its separator
      {"1 2.3", {1, 3, 0, 0}},   // blanks are no separators
      {"1.2.3.4.5", {1, 2, 3, 4}},
      {"", {0, 0, 0, 0}},
      {"...", {0, 0, 0, 0}},
      // Each part.
      {" 7.\t8", {7, 8, 0, 0}},
      {"12ab.x.+5.0x10", {12, 0, 5, 0}},
      {"255.256.1000.007", {255, 0, 0, 7}},
      {"-1.-0.-255.+255", {0, 0, 0, 255}},
      {"4294967297.4294967296.99999999999999999999.2", {0, 0, 0, 2}},
      {"00000000000000000000000001.2.3.4", {1, 2, 3, 4}},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.text);
    std::string text = c.text;
    RASIPADDR address = {0xEE, 0xEE, 0xEE, 0xEE};
    ParseDottedAddress(&address, text.data());
    EXPECT_EQ((std::array<int, 4>{address.a, address.b, address.c, address.d}), c.parts);
  }
}

}  // namespace
