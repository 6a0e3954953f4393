#include "thinprint/thinprint_conf.h"

#include <gtest/gtest.h>

#include <string>

namespace {

ThinPrintSettings laserExample() {
  ThinPrintSettings s;
  s.bandwidthInUse = true;
  s.bandwidth = "256000";
  s.printers.push_back({"Laser", "/dev/usb/lp0"});
  return s;
}

}  // namespace

TEST(ThinPrintWrite, TheLaserExample) {
  const ThinPrintSettings s = laserExample();
  EXPECT_EQ(formatThinPrintConf(s), "BANDWIDTH=256000\n/dev/usb/lp0 Laser\n");
  EXPECT_EQ(thinPrintCommandLine(s),
            "/usr/share/thinprint/thnuclnt -b 256000 -dev /dev/usb/lp0 -name Laser ");
  EXPECT_EQ(startScript(s),
            "#!/bin/sh\n/usr/share/thinprint/thnuclnt -b 256000 -dev /dev/usb/lp0 -name Laser \n");
}

TEST(ThinPrintWrite, SettingsOnlyWhenInUseAndNotBlank) {
  struct Case {
    const char* what;
    bool bandwidthInUse;
    const char* bandwidth;
    bool portInUse;
    const char* port;
    const char* file;
    const char* command;
  } cases[] = {
      {"both default", false, "256000", false, "4000", "", "/usr/share/thinprint/thnuclnt "},
      {"only spaces", true, "   ", true, " \t ", "", "/usr/share/thinprint/thnuclnt "},
      {"empty in use", true, "", true, "", "", "/usr/share/thinprint/thnuclnt "},
      {"trimmed, inner kept", true, " \t12 34\t ", true, " 4000 ", "BANDWIDTH=12 34\nPORT=4000\n",
       "/usr/share/thinprint/thnuclnt -b 12 34 -port 4000 "},
      {"port only", false, "9", true, "4000", "PORT=4000\n",
       "/usr/share/thinprint/thnuclnt -port 4000 "},
      {"letters taken as typed", true, "fast", false, "", "BANDWIDTH=fast\n",
       "/usr/share/thinprint/thnuclnt -b fast "},
  };
  for (const auto& c : cases) {
    ThinPrintSettings s;
    s.bandwidthInUse = c.bandwidthInUse;
    s.bandwidth = c.bandwidth;
    s.portInUse = c.portInUse;
    s.port = c.port;
    EXPECT_EQ(formatThinPrintConf(s), c.file) << c.what;
    EXPECT_EQ(thinPrintCommandLine(s), c.command) << c.what;
    EXPECT_EQ(startScript(s), std::string("#!/bin/sh\n") + c.command + "\n") << c.what;
  }
}

TEST(ThinPrintWrite, PrintersInListOrderTextsAsStored) {
  ThinPrintSettings s;
  s.printers = {{"\"Office Laser\"", "/dev/lp0"}, {"queue", "queue"}, {"", ""}};
  EXPECT_EQ(formatThinPrintConf(s), "/dev/lp0 \"Office Laser\"\nqueue queue\n \n");
  EXPECT_EQ(thinPrintCommandLine(s),
            "/usr/share/thinprint/thnuclnt -dev /dev/lp0 -name \"Office Laser\" "
            "-dev queue -name queue -dev  -name  ");
}

TEST(ThinPrintRead, KeywordsAndPrinterLines) {
  struct Row {
    const char* name;
    const char* device;
  };
  struct Case {
    const char* what;
    std::string text;
    bool bandwidthInUse;
    const char* bandwidth;
    bool portInUse;
    const char* port;
    std::vector<Row> printers;
  } cases[] = {
      {"the example",
       "BANDWIDTH=256000\n/dev/usb/lp0 Laser\n",
       true,
       "256000",
       false,
       "",
       {{"Laser", "/dev/usb/lp0"}}},
      {"empty file", "", false, "", false, "", {}},
      {"no equals sign", "BANDWIDTH\n", true, "", false, "", {}},
      {"value after first equals, trimmed line", "PORT=40=00 \r\n", false, "", true, "40=00", {}},
      {"keyword needs only the prefix", "BANDWIDTHX=5\nPORTAL=7\n", true, "5", true, "7", {}},
      {"lower case is a printer line",
       "bandwidth=5\n",
       false,
       "",
       false,
       "",
       {{"", "bandwidth=5"}}},
      {"mixed case port is a printer line", "Port=7\n", false, "", false, "", {{"", "Port=7"}}},
      {"indented by space", " BANDWIDTH=5\n", false, "", false, "", {{"", "BANDWIDTH=5"}}},
      {"indented by tab", "\tPORT=7\n", false, "", false, "", {{"", "PORT=7"}}},
      {"device beginning with PORT", "PORTA1 printer\n", false, "", true, "", {}},
      {"last of several wins",
       "BANDWIDTH=1\nBANDWIDTH=2\nPORT=3\nBANDWIDTH=4\n",
       true,
       "4",
       true,
       "3",
       {}},
      {"blank line gives two empty texts",
       "a b\n\n \t\r\nc d\n",
       false,
       "",
       false,
       "",
       {{"b", "a"}, {"", ""}, {"", ""}, {"d", "c"}}},
      {"cut at the first space",
       "/dev/lp0 Office  Laser \n",
       false,
       "",
       false,
       "",
       {{"Office  Laser", "/dev/lp0"}}},
      {"quoted device cut on read",
       "\"my dev\" name\n",
       false,
       "",
       false,
       "",
       {{"dev\" name", "\"my"}}},
      {"no space: name empty", "/dev/lp0\n", false, "", false, "", {{"", "/dev/lp0"}}},
      {"last line without line feed",
       "PORT=1\n/dev/lp1 P",
       false,
       "",
       true,
       "1",
       {{"P", "/dev/lp1"}}},
      {"carriage returns trimmed",
       "/dev/lp0 Laser\r\n",
       false,
       "",
       false,
       "",
       {{"Laser", "/dev/lp0"}}},
  };
  for (const auto& c : cases) {
    const ThinPrintSettings s = parseThinPrintConf(c.text);
    EXPECT_EQ(s.bandwidthInUse, c.bandwidthInUse) << c.what;
    EXPECT_EQ(s.bandwidth, c.bandwidth) << c.what;
    EXPECT_EQ(s.portInUse, c.portInUse) << c.what;
    EXPECT_EQ(s.port, c.port) << c.what;
    ASSERT_EQ(s.printers.size(), c.printers.size()) << c.what;
    for (std::size_t i = 0; i < c.printers.size(); ++i) {
      EXPECT_EQ(s.printers[i].name, c.printers[i].name) << c.what << " row " << i;
      EXPECT_EQ(s.printers[i].device, c.printers[i].device) << c.what << " row " << i;
    }
  }
}

TEST(ThinPrintRead, LongLineIsReadIn249ByteParts) {
  // After a 249-byte part only the line feed may be left: it reads as one more, empty, row.
  struct Case {
    std::size_t length;
    std::size_t rows;
  } cases[] = {
      {248, 1}, {249, 2}, {250, 2}, {498, 3}, {499, 3},
  };
  for (const auto& c : cases) {
    const std::string device(c.length, 'd');
    const ThinPrintSettings s = parseThinPrintConf(device + "\n");
    ASSERT_EQ(s.printers.size(), c.rows) << c.length;
    EXPECT_EQ(s.printers[0].device, device.substr(0, 249)) << c.length;
  }
  // The rest of a long line is judged on its own: here it starts a bandwidth line.
  const std::string longLine = std::string(249, 'x') + "BANDWIDTH=9\n";
  const ThinPrintSettings s = parseThinPrintConf(longLine);
  EXPECT_TRUE(s.bandwidthInUse);
  EXPECT_EQ(s.bandwidth, "9");
  ASSERT_EQ(s.printers.size(), 1u);
  EXPECT_EQ(s.printers[0].device, std::string(249, 'x'));
}

TEST(ThinPrintRoundTrip, FormatThenParseGivesTheSameSettings) {
  ThinPrintSettings full = laserExample();
  full.portInUse = true;
  full.port = "4000";
  full.printers.push_back({"\"Office Laser\"", "/dev/lp0"});
  full.printers.push_back({"queue", "queue"});
  ThinPrintSettings none;
  none.printers.push_back({"Laser", "/dev/usb/lp0"});
  for (const ThinPrintSettings& in : {full, none, laserExample()}) {
    const ThinPrintSettings out = parseThinPrintConf(formatThinPrintConf(in));
    EXPECT_EQ(out.bandwidthInUse, in.bandwidthInUse);
    EXPECT_EQ(out.bandwidth, in.bandwidth);
    EXPECT_EQ(out.portInUse, in.portInUse);
    EXPECT_EQ(out.port, in.port);
    ASSERT_EQ(out.printers.size(), in.printers.size());
    for (std::size_t i = 0; i < in.printers.size(); ++i) {
      EXPECT_EQ(out.printers[i].name, in.printers[i].name);
      EXPECT_EQ(out.printers[i].device, in.printers[i].device);
    }
    EXPECT_EQ(formatThinPrintConf(out), formatThinPrintConf(in));
  }
  // A blank bandwidth in use is written as nothing, so it reads back as the default.
  ThinPrintSettings blank;
  blank.bandwidthInUse = true;
  blank.bandwidth = "  ";
  EXPECT_FALSE(parseThinPrintConf(formatThinPrintConf(blank)).bandwidthInUse);
}

TEST(ThinPrintStoredText, QuotedOnlyWithASpaceAndNoQuote) {
  struct Case {
    const char* typed;
    const char* stored;
  } cases[] = {
      {"Office Laser", "\"Office Laser\""},
      {"a b c", "\"a b c\""},
      {" lead", "\" lead\""},  // not trimmed
      {" ", "\" \""},
      {"Laser", "Laser"},
      {"", ""},
      {"Tab\tSeparated", "Tab\tSeparated"},  // only a space counts
      {"\"Office Laser\"", "\"Office Laser\""},
      {"Bob's \"big\" one", "Bob's \"big\" one"},
      {"say\"hi", "say\"hi"},
  };
  for (const auto& c : cases) EXPECT_EQ(storedText(c.typed), c.stored) << c.typed;
}
