#include "thinprint/thinprint_conf.h"

#include <gtest/gtest.h>

// "B=" / "b=" for bandwidth in use or not, likewise "P=", then "[device|name]" per printer.
static std::string dump(const ThinPrintSettings& s) {
  std::string out =
      (s.bandwidthInUse ? "B=" : "b=") + s.bandwidth + (s.portInUse ? " P=" : " p=") + s.port + " ";
  for (const auto& p : s.printers) out += "[" + p.device + "|" + p.name + "]";
  return out;
}

TEST(ThinPrintRead, KeywordsLastOneWinsOtherLinesArePrinters) {
  const std::string x249(249, 'x');
  const std::pair<std::string, std::string> cases[] = {
      {"PORTA1 x\nBANDWIDTH=1\nBANDWIDTH=2\nPORT=40=00 \r\nBANDWIDTHX=4\n", "B=4 P=40=00 "},
      // Keywords are upper case at the start of the line; names are cut at the first space.
      {"bandwidth=5\n PORT=7\na b\n\n/dev/lp0 Office  Laser \r\n\"my dev\" n",
       "b= p= [bandwidth=5|][PORT=7|][a|b][|][/dev/lp0|Office  Laser][\"my|dev\" n]"},
      // The 250-byte buffer: a longer line's rest is judged on its own, a lone line feed too.
      {x249 + "BANDWIDTH=9\n" + x249 + "\n", "B=9 p= [" + x249 + "|][" + x249 + "|][|]"},
  };
  for (const auto& c : cases) EXPECT_EQ(dump(parseThinPrintConf(c.first)), c.second) << c.first;
}

TEST(ThinPrintWrite, FileAndClientLineOnlyWithSettingsInUse) {
  const struct {
    ThinPrintSettings s;
    const char *file, *args;
  } cases[] = {
      {{false, "256000", true, " \t "}, "", ""},
      {{true, " \t12 34\t ", true, " 4000 ", {{"Laser", "/dev/usb/lp0"}}},
       "BANDWIDTH=12 34\nPORT=4000\n/dev/usb/lp0 Laser\n",
       "-b 12 34 -port 4000 -dev /dev/usb/lp0 -name Laser "},
      {{false, "", false, "", {{"\"Office Laser\"", "/dev/lp0"}, {"", ""}}},
       "/dev/lp0 \"Office Laser\"\n \n",
       "-dev /dev/lp0 -name \"Office Laser\" -dev  -name  "},
      // The start script runs as root: whatever the shell could expand is single-quoted.
      {{true, "$(reboot)", false, "", {{"\"it's `id`\"", "/dev/lp0;id"}, {"a*", "$x"}}},
       "BANDWIDTH=$(reboot)\n/dev/lp0;id \"it's `id`\"\n$x a*\n",
       "-b '$(reboot)' -dev '/dev/lp0;id' -name 'it'\\''s `id`' -dev '$x' -name 'a*' "},
  };
  for (const auto& c : cases) {
    EXPECT_EQ(formatThinPrintConf(c.s), c.file) << c.args;
    EXPECT_EQ(startScript(c.s),
              std::string("#!/bin/sh\n/usr/share/thinprint/thnuclnt ") + c.args + "\n");
  }
  EXPECT_EQ(storedText("Office Laser") + storedText("Bob's \"big\" one") + storedText("a\tb"),
            "\"Office Laser\"Bob's \"big\" onea\tb");
}
