#include "thinprint/thinprint_conf.h"

#include <gtest/gtest.h>

#include <string>

namespace {

const std::string kBin = "/usr/share/thinprint/thnuclnt ";

ThinPrintSettings settings(bool bwInUse, const std::string& bw, bool portInUse,
                           const std::string& port) {
  ThinPrintSettings s;
  s.bandwidthInUse = bwInUse, s.bandwidth = bw, s.portInUse = portInUse, s.port = port;
  return s;
}

// Settings in one line: "B=" / "b=" for bandwidth in use or not, likewise "P=", then
// "[device|name]" per printer.
std::string dump(const ThinPrintSettings& s) {
  std::string out =
      (s.bandwidthInUse ? "B=" : "b=") + s.bandwidth + (s.portInUse ? " P=" : " p=") + s.port + " ";
  for (const auto& p : s.printers) out += "[" + p.device + "|" + p.name + "]";
  return out;
}

}  // namespace

TEST(ThinPrintWrite, SettingsOnlyWhenInUseAndNotBlank) {
  struct Case {
    ThinPrintSettings s;
    const char *file, *args;
  } cases[] = {
      {settings(false, "256000", false, "4000"), "", ""},
      {settings(true, "   ", true, " \t "), "", ""},
      {settings(true, "", true, ""), "", ""},
      {settings(true, " \t12 34\t ", true, " 4000 "), "BANDWIDTH=12 34\nPORT=4000\n",
       "-b 12 34 -port 4000 "},
      {settings(false, "9", true, "4000"), "PORT=4000\n", "-port 4000 "},
      {settings(true, "fast", false, ""), "BANDWIDTH=fast\n", "-b fast "},
  };
  for (auto& c : cases) {
    EXPECT_EQ(formatThinPrintConf(c.s), c.file) << dump(c.s);
    EXPECT_EQ(thinPrintCommandLine(c.s), kBin + c.args) << dump(c.s);
    EXPECT_EQ(startScript(c.s), "#!/bin/sh\n" + kBin + c.args + "\n") << dump(c.s);
  }
  ThinPrintSettings s = settings(true, "256000", false, "");
  s.printers = {{"Laser", "/dev/usb/lp0"}};
  EXPECT_EQ(formatThinPrintConf(s), "BANDWIDTH=256000\n/dev/usb/lp0 Laser\n");
  EXPECT_EQ(startScript(s), "#!/bin/sh\n" + kBin + "-b 256000 -dev /dev/usb/lp0 -name Laser \n");
  // Printers in list order, their texts as stored.
  s = settings(false, "", false, "");
  s.printers = {{"\"Office Laser\"", "/dev/lp0"}, {"queue", "queue"}, {"", ""}};
  EXPECT_EQ(formatThinPrintConf(s), "/dev/lp0 \"Office Laser\"\nqueue queue\n \n");
  EXPECT_EQ(thinPrintCommandLine(s), kBin +
                                         "-dev /dev/lp0 -name \"Office Laser\" "
                                         "-dev queue -name queue -dev  -name  ");
}

TEST(ThinPrintRead, KeywordsAndPrinterLines) {
  const std::pair<std::string, const char*> cases[] = {
      {"BANDWIDTH=256000\n/dev/usb/lp0 Laser\n", "B=256000 p= [/dev/usb/lp0|Laser]"},
      {"", "b= p= "},
      {"BANDWIDTH\n", "B= p= "},
      {"PORT=40=00 \r\n", "b= P=40=00 "},
      {"BANDWIDTHX=5\nPORTAL=7\n", "B=5 P=7 "},
      {"PORTA1 printer\n", "b= P= "},
      {"BANDWIDTH=1\nBANDWIDTH=2\nPORT=3\nBANDWIDTH=4\n", "B=4 P=3 "},
      // Keywords are upper case at the start of the line; other lines are printers.
      {"bandwidth=5\nPort=7\n BANDWIDTH=5\n\tPORT=7\n",
       "b= p= [bandwidth=5|][Port=7|][BANDWIDTH=5|][PORT=7|]"},
      // Cut at the first space, trimmed; a blank line gives two empty texts.
      {"a b\n\n \t\r\n/dev/lp0 Office  Laser \r\n", "b= p= [a|b][|][|][/dev/lp0|Office  Laser]"},
      {"\"my dev\" name\n/dev/lp0\n", "b= p= [\"my|dev\" name][/dev/lp0|]"},
      {"PORT=1\n/dev/lp1 P", "b= P=1 [/dev/lp1|P]"},
  };
  for (const auto& c : cases) EXPECT_EQ(dump(parseThinPrintConf(c.first)), c.second) << c.first;
}

TEST(ThinPrintRead, LongLineIsReadIn249ByteParts) {
  // After a 249-byte part only the line feed may be left: it reads as one more, empty, row.
  const std::pair<std::size_t, std::size_t> cases[] = {
      {248, 1}, {249, 2}, {250, 2}, {498, 3}, {499, 3}};
  for (const auto& c : cases) {
    const ThinPrintSettings s = parseThinPrintConf(std::string(c.first, 'd') + "\n");
    ASSERT_EQ(s.printers.size(), c.second) << c.first;
    EXPECT_EQ(s.printers[0].device, std::string(std::min<std::size_t>(c.first, 249), 'd'));
  }
  // The rest of a long line is judged on its own: here it starts a bandwidth line.
  EXPECT_EQ(dump(parseThinPrintConf(std::string(249, 'x') + "BANDWIDTH=9\n")),
            "B=9 p= [" + std::string(249, 'x') + "|]");
}

TEST(ThinPrintRoundTrip, FormatThenParseGivesTheSameSettings) {
  ThinPrintSettings full = settings(true, "256000", true, "4000");
  full.printers = {{"Laser", "/dev/usb/lp0"}, {"\"Office Laser\"", "/dev/lp0"}, {"queue", "queue"}};
  ThinPrintSettings none = settings(false, "", false, "");
  none.printers = {{"Laser", "/dev/usb/lp0"}};
  for (const ThinPrintSettings& in : {full, none})
    EXPECT_EQ(dump(parseThinPrintConf(formatThinPrintConf(in))), dump(in));
  // A blank bandwidth in use is written as nothing, so it reads back as the default.
  EXPECT_FALSE(
      parseThinPrintConf(formatThinPrintConf(settings(true, "  ", false, ""))).bandwidthInUse);
}

TEST(ThinPrintStoredText, QuotedOnlyWithASpaceAndNoQuote) {
  const std::pair<const char*, const char*> cases[] = {
      {"Office Laser", "\"Office Laser\""},
      {" lead", "\" lead\""},
      {" ", "\" \""},
      {"Laser", "Laser"},
      {"", ""},
      {"Tab\tSeparated", "Tab\tSeparated"},
      {"\"Office Laser\"", "\"Office Laser\""},
      {"say\"hi", "say\"hi"},
      {"Bob's \"big\" one", "Bob's \"big\" one"},
  };
  for (const auto& c : cases) EXPECT_EQ(storedText(c.first), c.second) << c.first;
}
