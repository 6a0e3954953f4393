#include "app/text.h"

#include <gtest/gtest.h>

#include <tuple>

// Splits at the first occurrence of the delimiter's first byte; an empty delimiter never splits.
TEST(TextHelpers, SplitTrimLowerAndInvalid) {
  const std::tuple<const char*, const char*, const char*> splits[] = {
      {"wd=HP=1", "=", "wd|HP=1"}, {"a=b@c", "@=", "a=b|c"}, {"a|b", "", "a|b|"},
      {"@h", "@", "|h"},           {"x=", "=", "x|"},        {"none", "=", "none|"}};
  for (const auto& [input, delimiter, parts] : splits)
    EXPECT_EQ(getstrbefore(input, delimiter) + "|" + getstrafter(input, delimiter), parts) << input;
  // Lower-cased only when LOWER is 1; an empty set trims nothing; a line of set bytes leaves "".
  EXPECT_EQ(strmakeup(" \tA  B\r\n", " \n\r\t", 1) + strmakeup(" A\n", " \n", 0) +
                strmakeup("A", " ", 2) + strmakeup(" \t ", " \t", 1) + strmakeup(" x ", "", 1),
            "a  bAA x ");
  EXPECT_EQ(strtrimR(" x ", "") + strtrimF(" x ", "") + strtrimR("ab", "b") + strtrimF("ab", "a"),
            " x  x ab");
  // Missing or empty input is invalid, even with no forbidden byte.
  const char* const name = kInvalidPrinterNameChars;
  EXPECT_EQ(
      std::vector<int>({is_invalid(nullptr, ""), is_invalid("", ""), is_invalid(nullptr, name),
                        is_invalid("x", ""), is_invalid("Laser1", name), is_invalid("a b", name),
                        is_invalid("a.b", name)}),
      std::vector<int>({1, 1, 1, 0, 0, 1, 1}));
}
