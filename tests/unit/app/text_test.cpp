#include "app/text.h"

#include <gtest/gtest.h>

TEST(Split, AtFirstOccurrenceOfTheDelimitersFirstByte) {
  struct Case {
    const char* input;
    const char* delimiter;
    const char* before;
    const char* after;
  } cases[] = {
      {"lp=/dev/lp0", "=", "lp", "/dev/lp0"},
      {"cm=a=b", "=", "cm", "a=b"},  // cut at the first "=" only
      {"sh", "=", "sh", ""},         // no delimiter: all "before"
      {"if=", "=", "if", ""},        // ends in the delimiter
      {"", "=", "", ""},
      {"queue@host", "@", "queue", "host"},
      {"@host", "@", "", "host"},
      {"name|desc|more", "|xyz", "name", "desc|more"},  // only the first byte counts
      {"a=b", "", "a=b", ""},                           // empty delimiter never matches
  };
  for (const auto& c : cases) {
    EXPECT_EQ(getstrbefore(c.input, c.delimiter), c.before) << c.input;
    EXPECT_EQ(getstrafter(c.input, c.delimiter), c.after) << c.input;
  }
}

TEST(Trim, BothEndsKeepInnerWhiteSpace) {
  EXPECT_EQ(strmakeup(" \tOffice Laser\r\n", " \n\r\t", 0), "Office Laser");
  EXPECT_EQ(strmakeup(" \tOffice Laser\r\n", " \n\r\t", 1), "office laser");
  EXPECT_EQ(strmakeup("ABC", " ", 2), "ABC");  // only 1 lower-cases
  EXPECT_EQ(strmakeup(" \t \n", " \n\r\t", 0), "");
  EXPECT_EQ(strtrimR("  x  ", ""), "  x  ");
  EXPECT_EQ(strtrimF("  x  ", ""), "  x  ");
  EXPECT_EQ(strtrimR("xaa", "a"), "x");
  EXPECT_EQ(strtrimF("aax", "a"), "x");
}

TEST(IsInvalid, NullEmptyAndForbiddenBytes) {
  EXPECT_EQ(is_invalid(nullptr, ""), 1);
  EXPECT_EQ(is_invalid("", ""), 1);
  EXPECT_EQ(is_invalid("Laser2", kInvalidPrinterNameChars), 0);
  EXPECT_EQ(is_invalid("my-laser_2", kInvalidPrinterNameChars), 0);
  for (const char* bad : {"a b", "a.b", "a/b", "a$b", "a|b", "a\\b", "a\"b", "a'b", "a:b"}) {
    EXPECT_EQ(is_invalid(bad, kInvalidPrinterNameChars), 1) << bad;
  }
  EXPECT_EQ(std::string(kInvalidPrinterNameChars).size(), 31u);
}

TEST(FixedBufferLines, CutsLikeFgets) {
  using V = std::vector<std::string>;
  EXPECT_EQ(fixedBufferLines("ab\ncd", 300), (V{"ab\n", "cd"}));
  EXPECT_EQ(fixedBufferLines("abcdef\n", 4), (V{"abc", "def", "\n"}));
  EXPECT_EQ(fixedBufferLines("abc\n", 4), (V{"abc", "\n"}));  // newline did not fit
  EXPECT_EQ(fixedBufferLines("ab\n", 4), (V{"ab\n"}));
  EXPECT_EQ(fixedBufferLines("", 4), V{});
  EXPECT_EQ(wholeLines("a\n\nb"), (V{"a", "", "b"}));
  EXPECT_EQ(wholeLines("a\n"), (V{"a"}));
}

TEST(CaseInsensitive, AsciiLettersOnly) {
  EXPECT_TRUE(equalsIgnoreCase("Samba", "SAMBA"));
  EXPECT_FALSE(equalsIgnoreCase("Samba", "Samb"));
  EXPECT_TRUE(startsWith("FQ=x", "fq", true));
  EXPECT_FALSE(startsWith("FQ=x", "fq"));
  EXPECT_FALSE(startsWith("f", "fq", true));
}
