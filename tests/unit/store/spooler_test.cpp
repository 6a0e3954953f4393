#include "store/spooler.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace {

TEST(SpoolerCommands, OrdinaryNamesGiveTheDocumentedLines) {
  EXPECT_EQ(lpqCommand("office"), "lpq -P office > /tmp/lprqueue");
  EXPECT_EQ(lprmJobCommand("office", "12"), "lprm -P office 12");
  EXPECT_EQ(lprmQueueCommand("office"), "lprm -P office all");
  EXPECT_EQ(lprmEverythingCommand(), "lprm -a all");
  EXPECT_EQ(lprCommand("/etc/testpg.ascii"), "lpr /etc/testpg.ascii");
}

TEST(SpoolerCommands, HostileValuesStayOneWord) {
  struct Case {
    std::string line;
    const char* expected;
  } cases[] = {
      {lpqCommand("a; rm -rf /"), "lpq -P 'a; rm -rf /' > /tmp/lprqueue"},
      {lpqCommand(""), "lpq -P '' > /tmp/lprqueue"},
      {lprmJobCommand("p", "1 && reboot"), "lprm -P p '1 && reboot'"},
      {lprmJobCommand("it's", "$(id)"), "lprm -P 'it'\\''s' '$(id)'"},
      {lprmQueueCommand("`x`"), "lprm -P '`x`' all"},
      {lprCommand("a b"), "lpr 'a b'"},
  };
  for (const Case& c : cases) EXPECT_EQ(c.line, c.expected);
}

TEST(SpoolerCommands, RestartLinesInOrder) {
  const std::vector<std::string> expected = {
      "lprm -a all",
      "killall lpd",
      "mkdir /var/run/lprng -p",
      "chmod -R 777 /var/run/lprng",
      "chown -R daemon:lp /var/run/lprng",
      "chmod 770 /var/spool/lpd",
      "chown -R daemon:lp /var/spool/lpd",
      "checkpc -f",
      "lpd",
  };
  EXPECT_EQ(restartCommands(), expected);
}

}  // namespace
