#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "store/printcap.h"

namespace {

PrinterRow row(const std::string& name, const std::string& type, const std::string& device,
               const std::string& desc = "", const std::string& filter = "",
               const std::string& ppd = "", const std::string& wd = "", const std::string& fq = "",
               const std::string& def = "") {
  return PrinterRow{def, name, desc, type, device, filter, ppd, wd, fq};
}

TEST(ParsePrintcap, EntryShapes) {
  struct Case {
    const char* text;
    PrinterRow expected;
  } cases[] = {
      // Continuation lines, a comment between them, CRLF line ends.
      {"p|Desk:\\\n\t:lp=/dev/lp0:\\\n# note\n\t:if=/f:\\\r\n\t:sf:\r\n",
       row("p", "Parallel", "/dev/lp0", "Desk", "/f")},
      // Single line: the final character goes, whatever it is.
      {"p:lp=/dev/lp0", row("p", "Parallel", "/dev/lp")},
      {"p|a|b:sh:", row("p", "Unknown", "", "a|b")},
      {"p::::wd=HP=1:::ppd=/x.ppd:FQ=no:",
       row("p", "Unknown", "", "", "", "/x.ppd", "HP=1", "YES")},
      // The last field beginning "lp" wins; a device beats remote values.
      {"p:lp=/dev/lp0:lpx=/dev/ttyS1:", row("p", "Serial", "/dev/ttyS1")},
      {"p:rm=host:rp=q:lp=/dev/usb/lp0:", row("p", "USB", "/dev/usb/lp0")},
      {"p:rm=host:rp=q:", row("p", "Network", "q@host")},
      {"p:rm=host:", row("p", "Network", "@host")},
      {"p:rp=q:", row("p", "Unknown", "")},
      {"p:lp=|/etc/dorvek/samba/p.sh:", row("p", "Samba", "|/etc/dorvek/samba/p.sh")},
      {"p:lp=/dev/null:", row("p", "Samba", "/dev/null")},
      {"p:lp:", row("p", "Samba", "")},
      {"p:LP=/dev/lp0:", row("p", "Unknown", "")},
      {":", row("", "Unknown", "")},
      {"p|d\\", row("p", "Unknown", "", "d")},  // continued to the end of the file
  };
  for (const Case& c : cases) {
    const PrintcapParse parsed = parsePrintcap(c.text);
    EXPECT_FALSE(parsed.stoppedAtOversizedEntry);
    EXPECT_EQ(parsed.rows, std::vector<PrinterRow>{c.expected}) << c.text;
  }
  EXPECT_TRUE(parsePrintcap("").rows.empty());
  EXPECT_TRUE(parsePrintcap("# a\n;b\n\n").rows.empty());
  // An empty line ends an entry; what follows is named by its first field.
  EXPECT_EQ(
      parsePrintcap("p:\\\n\t:lp=/dev/lp0:\\\n\n\t:if=/f:\n").rows,
      (std::vector<PrinterRow>{row("p", "Parallel", "/dev/lp0"), row("if=/f", "Unknown", "")}));
}

TEST(ParsePrintcap, DefaultPrinterLine) {
  const std::string a = "a:lp=/dev/lp0:\n", b = "b:lp=/dev/lp1:\n";
  struct Case {
    std::string text;
    const char *defA, *defB;
  } cases[] = {
      {"# banner\nb\n" + a + b, "", "Yes"},
      {a + b + "b\n", "", ""},
      {a + "b\n" + b, "", "Yes"},
      {"a\nzzz\n" + a + b, "", ""},
      {"B\n" + a + b, "", ""},
      {"a\n\n  \n" + a + b, "Yes", ""},
  };
  for (const Case& c : cases) {
    const PrintcapParse parsed = parsePrintcap(c.text);
    ASSERT_EQ(parsed.rows.size(), 2u) << c.text;
    EXPECT_EQ(parsed.rows[0][kColDefault], c.defA) << c.text;
    EXPECT_EQ(parsed.rows[1][kColDefault], c.defB) << c.text;
  }
}

// An entry whose gathered text before its last line is `gathered` characters long.
std::string entryOfLength(std::size_t gathered) {
  std::string text = "big:\\\n";
  for (std::size_t have = 4; have < gathered; have += 100)
    text += "\t" + std::string(std::min<std::size_t>(100, gathered - have), 'x') + "\\\n";
  return "a:lp=/dev/lp0:\n" + text + "\t:sf:\nc:lp=/dev/lp2:\n";
}

TEST(ParsePrintcap, ReadingLimits) {
  const PrintcapParse accepted = parsePrintcap(entryOfLength(680));
  EXPECT_FALSE(accepted.stoppedAtOversizedEntry);
  ASSERT_EQ(accepted.rows.size(), 3u);
  EXPECT_EQ(accepted.rows[1][kColName], "big");
  const PrintcapParse stopped = parsePrintcap(entryOfLength(681));
  EXPECT_TRUE(stopped.stoppedAtOversizedEntry);
  ASSERT_EQ(stopped.rows.size(), 1u);
  EXPECT_EQ(stopped.rows[0][kColName], "a");

  // A physical line is read 299 bytes at a time; the rest reads as a line of its own.
  EXPECT_EQ(parsePrintcap("p:wd=" + std::string(320, 'w') + ":lp=/dev/lp0:\n").rows,
            (std::vector<PrinterRow>{row("p", "Unknown", "", "", "", "", std::string(293, 'w')),
                                     row(std::string(26, 'w'), "Parallel", "/dev/lp0")}));
  // Only continuations count towards the entry limit.
  EXPECT_FALSE(parsePrintcap(std::string(5000, 'y') + ":\n").stoppedAtOversizedEntry);
}

TEST(PrintcapRoundTrip, EditorRowsReadBackUnchanged) {
  std::vector<PrinterRow> rows = {
      row("par", "Parallel", "/dev/lp0", "Front desk", "/usr/lib/lprng/filters/lpf", "",
          "HP LaserJet 4", "YES"),
      row("usb", "USB", "/dev/usb/lp0", "", "/usr/bin/foomatic-rip", "/usr/local/lib/a.ppd", "",
          "YES", "Yes"),
      row("ser", "Serial", "/dev/ttyS0"),
      row("smb", "Samba", "|/etc/dorvek/samba/smb.sh", "Upstairs"),
      row("net", "Network", "raw@localhost", "", "/f", "", "Generic"),
      row("nofq", "Parallel", "/dev/lp1", "", "", "", "", "NO"),
  };
  const PrintcapParse parsed = parsePrintcap(formatPrintcap(rows));
  EXPECT_FALSE(parsed.stoppedAtOversizedEntry);
  rows.back()[kColFQ] = "";  // "NO" is written as nothing
  EXPECT_EQ(parsed.rows, rows);
}

}  // namespace
