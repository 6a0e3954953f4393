#include "printers/listings.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

using namespace std::string_literals;
using Items = std::vector<std::string>;

TEST(ListingItems, OneItemPerShowableLine) {
  const struct {
    std::string text;
    Items items;
  } cases[] = {
      {"/dev/lp0\n/dev/lp1\n", {"/dev/lp0", "/dev/lp1"}},
      {"/dev/ttyS0", {"/dev/ttyS0"}},  // no line end after the last line
      {"\n\na b\n\n", {"a b"}},
      {"/dev/lp\0009\n/dev/lp1\n"s, {"/dev/lp", "/dev/lp1"}},
      {"\0x\n"s, {}},
      {"caf\xc3\xa9.ppd\n\xe9t\xe9.ppd\n", {"caf\xc3\xa9.ppd"}},  // Latin-1 cannot be shown
  };
  for (const auto& c : cases) EXPECT_EQ(listingItems(c.text), c.items) << c.text;
}

TEST(PreselectedFilter, LastLpfElseFirst) {
  EXPECT_EQ(preselectedFilter({}), 0);
  EXPECT_EQ(preselectedFilter({"/f/banner", "/f/psbanner"}), 0);
  EXPECT_EQ(preselectedFilter({"/f/banner", "/f/lpf", "/f/lpfx", "/f/z"}), 2);
}

TEST(TestPrintFailure, FromTheFirstMarkedPieceToTheEnd) {
  EXPECT_EQ(testPrintFailure("Printer: t1@h\n Queue: 1 printable job\n"), std::nullopt);
  EXPECT_EQ(testPrintFailure("ok\nlp: No such file\nmore\n").value_or("-"),
            "lp: No such file\nmore\n");
  // Pieces are 199 bytes: a marker across the edge is not seen, one inside the next piece is.
  EXPECT_EQ(testPrintFailure(std::string(195, 'x') + "Error:\n"), std::nullopt);
  EXPECT_EQ(testPrintFailure(std::string(199, 'x') + "Error:\n").value_or("-"), "Error:\n");
}
