// Formatting into a fixed-capacity field, by the platform's C runtime: whatever that runtime does
// with a text that fills or overfills the field, the field ends in a zero byte inside its width
// and nothing after it is touched.
#include "base/text.h"

#include <gtest/gtest.h>

#include <string>

namespace {

TEST(FormatText, CutsToTheFieldAndAlwaysEndsIt) {
  const struct {
    size_t capacity;
    const char* name;
    const char* expected;
  } cases[] = {
      {16, "ab", "ab: 624"}, {8, "ab", "ab: 624"},  // exactly capacity - 1 characters
      {7, "ab", "ab: 62"},                          // one too many
      {4, "abcdef", "abc"},                         // cut in the first argument
      {1, "ab", ""},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.capacity);
    char field[20];
    std::string(sizeof field, 'x').copy(field, sizeof field);
    FormatText(field, c.capacity, "%s: %u", c.name, 624u);
    EXPECT_STREQ(field, c.expected);
    EXPECT_EQ(std::string(field + c.capacity, sizeof field - c.capacity),
              std::string(sizeof field - c.capacity, 'x'));
  }
}

}  // namespace
