#include "store/printcap.h"

#include <gtest/gtest.h>

#include "golden.h"

static PrinterRow row(std::string name, std::string type, std::string device, std::string desc = "",
                      std::string filter = "", std::string ppd = "", std::string wd = "",
                      std::string fq = "") {
  return {"", name, desc, type, device, filter, ppd, wd, fq};
}
const auto yes = [](PrinterRow r) { return r[kColDefault] = "Yes", r; };

// Rows a and c, between them an entry "big" that gathers 679 + extra characters.
static std::string withBigEntry(std::size_t extra) {
  const std::string line = "\t" + std::string(225, 'x') + "\\\n";
  return "a:lp=/dev/lp0:\nbig:\\\n" + line + line + line + "\t" + std::string(extra, 'x') +
         "\\\n\t:sf:\nc:lp=/dev/lp2:\n";
}

TEST(ParsePrintcap, EntriesDefaultLineAndReadingLimits) {
  const std::string a = "a:lp=/dev/lp0:\n", b = "b:lp=/dev/lp1:\n";
  const PrinterRow ra = row("a", "Parallel", "/dev/lp0"), rb = row("b", "Parallel", "/dev/lp1");
  const std::pair<std::string, std::vector<PrinterRow>> cases[] = {
      {"# a\n;b\n\np|Desk:\\\n\t:lp=/dev/lp0:\\\n# note\n\t:if=/f:\\\r\n\t:sf:\r\n",
       {row("p", "Parallel", "/dev/lp0", "Desk", "/f")}},
      {"p::::wd=HP=1:::ppd=/x.ppd:FQ=no:",
       {row("p", "Unknown", "", "", "", "/x.ppd", "HP=1", "YES")}},
      // The last "lp" field wins and beats remote values; "rm" alone is still a network printer.
      {"p:lp=/dev/lp0:lpx=/dev/ttyS1:\nu:rm=h:rp=q:lp=/dev/usb/lp0:\nn:rm=h:rp=q:\nr:rm=h:\n"
       "s:rp=q:\nb:lp=|/x.sh:\n",
       {row("p", "Serial", "/dev/ttyS1"), row("u", "USB", "/dev/usb/lp0"),
        row("n", "Network", "q@h"), row("r", "Network", "@h"), row("s", "Unknown", ""),
        row("b", "Samba", "|/x.sh")}},
      // The default printer line: before its entry, exact case, blank lines do not unmark it.
      {"# banner\nb\n" + a + b, {ra, yes(rb)}},
      {"B\n" + a + b + "b\n", {ra, rb}},
      {"a\n\n  \n" + a + b, {yes(ra), rb}},
      // Lines are read 299 bytes at a time.
      {"p:wd=" + std::string(320, 'w') + ":lp=/dev/lp0:\n",
       {row("p", "Unknown", "", "", "", "", std::string(293, 'w')),
        row(std::string(26, 'w'), "Parallel", "/dev/lp0")}},
      // 680 gathered characters are fine; one more stops reading, keeping the rows before.
      {withBigEntry(1), {ra, row("big", "Unknown", ""), row("c", "Parallel", "/dev/lp2")}},
      {withBigEntry(2), {ra}},
  };
  for (const auto& c : cases) EXPECT_EQ(parsePrintcap(c.first).rows, c.second) << c.first;
  EXPECT_FALSE(parsePrintcap(withBigEntry(1)).stoppedAtOversizedEntry);
}

// The whole files of a table that holds every type, and of an empty one.
TEST(FormatPrintcap, EveryTypeByteExactReadBackAndTestPrintcap) {
  std::vector<PrinterRow> rows = {
      row("par", "Parallel", "/dev/lp0", "Front desk", "/usr/lib/lprng/filters/lpf", "",
          "HP LaserJet 4", "YES"),
      yes(row("usb", "USB", "/dev/usb/lp0", "", "/usr/bin/foomatic-rip", "/a.ppd")),
      row("ser", "serial", "/dev/ttyS0", "", "None", "", "", "yes"),
      row("smb", "Samba", "|/etc/dorvek/samba/smb.sh", "Upstairs"),
      row("net", "NETWORK", "q@a@b", "", "/USR/BIN/FOOMATIC-RIP", ""),
      row("unk", "Unknown", "", "", "/usr/bin/foomatic-rip", "None", "", "NO"),
  };
  EXPECT_EQ(formatPrintcap(rows), golden("every-type.printcap"));
  EXPECT_EQ(formatPrintersInfo(rows), golden("every-type.printers_info"));
  EXPECT_EQ(formatPrintersInfo({}), "PRINTERS_NUMBER=0\n");
  // Read back, the rows differ only where the file holds nothing or the reader's own words.
  rows[2][kColType] = "Serial", rows[2][kColFilter] = "", rows[2][kColFQ] = "YES";
  rows[4][kColType] = "Network", rows[5][kColFilter] = rows[5][kColPPD] = rows[5][kColFQ] = "";
  EXPECT_EQ(parsePrintcap(formatPrintcap(rows)).rows, rows);
  // The test printcap: its name line first, the filter's real path, the form feed before "mx".
  EXPECT_EQ(formatTestPrintcap({"office", "Front desk", "Parallel", "/dev/lp0",
                                "/USR/BIN/FOOMATIC-RIP", "/x.ppd", "HP", true}),
            golden("office.test-printcap"));
}
