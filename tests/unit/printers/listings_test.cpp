#include "printers/listings.h"

#include <gtest/gtest.h>

using namespace std::string_literals;

TEST(Listings, ItemsPreselectedFilterAndTestPrintFailure) {
  // A NUL ends its line; empty lines and Latin-1 names give no item; no final line feed needed.
  EXPECT_EQ(listingItems("/dev/lp\0009\n\n\0x\n\xe9t\xe9.ppd\ncaf\xc3\xa9.ppd\n/dev/lp1"s),
            (std::vector<std::string>{"/dev/lp", "caf\xc3\xa9.ppd", "/dev/lp1"}));
  EXPECT_EQ(preselectedFilter({"/f/banner", "/f/lpf", "/f/lpfx", "/f/z"}), 2);
  EXPECT_EQ(testPrintFailure("Printer: t1@h\n Queue: 1 printable job\n"), std::nullopt);
  EXPECT_EQ(testPrintFailure("ok\nlp: No such file\nmore\n"), "lp: No such file\nmore\n");
  // Pieces are 199 bytes: a marker across the edge is not seen, one inside the next piece is.
  EXPECT_EQ(testPrintFailure(std::string(195, 'x') + "Error:\n"), std::nullopt);
  EXPECT_EQ(testPrintFailure(std::string(199, 'x') + "Error:\n"), "Error:\n");
}
