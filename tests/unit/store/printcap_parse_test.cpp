#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "store/printcap.h"

namespace {

PrinterRow row(const std::string& def, const std::string& name, const std::string& desc,
               const std::string& type, const std::string& device, const std::string& filter = "",
               const std::string& ppd = "", const std::string& wd = "",
               const std::string& fq = "") {
  return PrinterRow{def, name, desc, type, device, filter, ppd, wd, fq};
}

PrinterRow only(const std::string& text) {
  const PrintcapParse parsed = parsePrintcap(text);
  EXPECT_FALSE(parsed.stoppedAtOversizedEntry);
  EXPECT_EQ(parsed.rows.size(), 1u) << text;
  return parsed.rows.empty() ? PrinterRow{} : parsed.rows[0];
}

TEST(ParsePrintcap, EntryShapes) {
  struct Case {
    const char* text;
    PrinterRow expected;
  } cases[] = {
      // Continuation lines, a comment between them, CRLF line ends.
      {"p|Desk:\\\n\t:lp=/dev/lp0:\\\n# note\n\t:if=/f:\\\r\n\t:sf:\r\n",
       row("", "p", "Desk", "Parallel", "/dev/lp0", "/f")},
      // Single line: the final character goes, whatever it is.
      {"p:lp=/dev/lp0:", row("", "p", "", "Parallel", "/dev/lp0")},
      {"p:lp=/dev/lp0", row("", "p", "", "Parallel", "/dev/lp")},
      // Several "|": everything after the first is the description.
      {"p|a|b:sh:", row("", "p", "a|b", "Unknown", "")},
      // Runs of ':' are one separator; values keep later '='.
      {"p::::wd=HP=1:::ppd=/x.ppd:FQ=no:",
       row("", "p", "", "Unknown", "", "", "/x.ppd", "HP=1", "YES")},
      // Two device fields: the second wins; any field beginning "lp" counts.
      {"p:lp=/dev/lp0:lpx=/dev/ttyS1:", row("", "p", "", "Serial", "/dev/ttyS1")},
      // A device beats remote values.
      {"p:rm=host:rp=q:lp=/dev/usb/lp0:", row("", "p", "", "USB", "/dev/usb/lp0")},
      {"p:rm=host:rp=q:", row("", "p", "", "Network", "q@host")},
      {"p:rm=host:", row("", "p", "", "Network", "@host")},
      {"p:rp=q:", row("", "p", "", "Unknown", "")},
      // Device prefixes to types; everything else is Samba.
      {"p:lp=|/etc/dorvek/samba/p.sh:", row("", "p", "", "Samba", "|/etc/dorvek/samba/p.sh")},
      {"p:lp=/dev/null:", row("", "p", "", "Samba", "/dev/null")},
      {"p:lp:", row("", "p", "", "Samba", "")},
      {"p:LP=/dev/lp0:", row("", "p", "", "Unknown", "")},
      // A lone ':' makes an empty Unknown row.
      {":", row("", "", "", "Unknown", "")},
      // Continuation up to the end of the file without a last line.
      {"p:\\\n\t:lp=/dev/lp0:\\\n", row("", "p", "", "Parallel", "/dev/lp0")},
      {"p|d\\", row("", "p", "d", "Unknown", "")},
  };
  for (const Case& c : cases) EXPECT_EQ(only(c.text), c.expected) << c.text;
}

TEST(ParsePrintcap, EmptyLineEndsEntry) {
  const PrintcapParse parsed = parsePrintcap("p:\\\n\t:lp=/dev/lp0:\\\n\n\t:if=/f:\n");
  ASSERT_EQ(parsed.rows.size(), 2u);
  EXPECT_EQ(parsed.rows[0], row("", "p", "", "Parallel", "/dev/lp0"));
  // What follows is an entry of its own, named by its first field.
  EXPECT_EQ(parsed.rows[1], row("", "if=/f", "", "Unknown", ""));
}

TEST(ParsePrintcap, DefaultPrinterLine) {
  const std::string a = "a:lp=/dev/lp0:\n";
  const std::string b = "b:lp=/dev/lp1:\n";
  struct Case {
    std::string text;
    const char* defA;
    const char* defB;
  } cases[] = {
      {"# banner\nb\n" + a + b, "", "Yes"},
      {a + b + "b\n", "", ""},
      {a + "b\n" + b, "", "Yes"},
      {"a\nzzz\n" + a + b, "", ""},
      {"B\n" + a + b, "", ""},
      // A blank line outside an entry leaves the default name alone.
      {"a\n\n  \n" + a + b, "Yes", ""},
  };
  for (const Case& c : cases) {
    const PrintcapParse parsed = parsePrintcap(c.text);
    ASSERT_EQ(parsed.rows.size(), 2u) << c.text;
    EXPECT_EQ(parsed.rows[0][kColDefault], c.defA) << c.text;
    EXPECT_EQ(parsed.rows[1][kColDefault], c.defB) << c.text;
  }
}

// A first line of `head` bytes plus continuation lines so that the gathered text before the
// last line is exactly `gathered` characters long.
std::string entryOfLength(std::size_t gathered) {
  std::string text = "big:\\\n";
  std::size_t have = 4;  // "big:"
  while (have < gathered) {
    const std::size_t take = std::min<std::size_t>(100, gathered - have);
    text += "\t" + std::string(take, 'x') + "\\\n";
    have += take;
  }
  return text + "\t:sf:\n";
}

TEST(ParsePrintcap, EntryLimit) {
  const std::string before = "a:lp=/dev/lp0:\n";
  const std::string after = "c:lp=/dev/lp2:\n";

  const PrintcapParse accepted = parsePrintcap(before + entryOfLength(680) + after);
  EXPECT_FALSE(accepted.stoppedAtOversizedEntry);
  ASSERT_EQ(accepted.rows.size(), 3u);
  EXPECT_EQ(accepted.rows[1][kColName], "big");
  EXPECT_EQ(accepted.rows[2][kColName], "c");

  const PrintcapParse stopped = parsePrintcap(before + entryOfLength(681) + after);
  EXPECT_TRUE(stopped.stoppedAtOversizedEntry);
  ASSERT_EQ(stopped.rows.size(), 1u);
  EXPECT_EQ(stopped.rows[0][kColName], "a");
}

TEST(ParsePrintcap, LongPhysicalLinesAreCutAt299Bytes) {
  // 299 bytes make one read; the rest of the line is read as a line of its own.
  const PrintcapParse parsed = parsePrintcap("p:wd=" + std::string(320, 'w') + ":lp=/dev/lp0:\n");
  ASSERT_EQ(parsed.rows.size(), 2u);
  // First read: "p:wd=" and 294 bytes, of which the last is dropped as the closing ':'.
  EXPECT_EQ(parsed.rows[0], row("", "p", "", "Unknown", "", "", "", std::string(293, 'w')));
  EXPECT_EQ(parsed.rows[1], row("", std::string(26, 'w'), "", "Parallel", "/dev/lp0"));

  // A huge single line never trips the entry limit: only continuations are counted.
  EXPECT_FALSE(parsePrintcap(std::string(5000, 'y') + ":\n").stoppedAtOversizedEntry);
}

TEST(ParsePrintcap, EmptyAndCommentOnlyInput) {
  EXPECT_TRUE(parsePrintcap("").rows.empty());
  EXPECT_TRUE(parsePrintcap("# a\n;b\n\n").rows.empty());
}

TEST(PrintcapRoundTrip, EditorRowsReadBackUnchanged) {
  const std::vector<PrinterRow> rows = {
      row("", "par", "Front desk", "Parallel", "/dev/lp0", "/usr/lib/lprng/filters/lpf", "",
          "HP LaserJet 4", "YES"),
      row("Yes", "usb", "", "USB", "/dev/usb/lp0", "/usr/bin/foomatic-rip", "/usr/local/lib/a.ppd",
          "", "YES"),
      row("", "ser", "", "Serial", "/dev/ttyS0", "", "", "", ""),
      row("", "smb", "Upstairs", "Samba", "|/etc/dorvek/samba/smb.sh", "", "", "", ""),
      row("", "net", "", "Network", "raw@localhost", "/f", "", "Generic", ""),
  };
  const PrintcapParse parsed = parsePrintcap(formatPrintcap(rows));
  EXPECT_FALSE(parsed.stoppedAtOversizedEntry);
  EXPECT_EQ(parsed.rows, rows);
}

TEST(PrintcapRoundTrip, FormFeedNoReadsBackEmpty) {
  const PrinterRow written = row("", "p", "", "Parallel", "/dev/lp0", "", "", "", "NO");
  const PrintcapParse parsed = parsePrintcap(formatPrintcap({written}));
  ASSERT_EQ(parsed.rows.size(), 1u);
  PrinterRow expected = written;
  expected[kColFQ] = "";
  EXPECT_EQ(parsed.rows[0], expected);
}

}  // namespace
