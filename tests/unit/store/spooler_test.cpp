#include "store/spooler.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace {

TEST(SpoolerCommands, LinesWithHostileValuesKeptOneWord) {
  const std::pair<std::string, const char*> cases[] = {
      {lpqCommand("office"), "lpq -P office > /tmp/lprqueue"},
      {lpqCommand("a; rm -rf /"), "lpq -P 'a; rm -rf /' > /tmp/lprqueue"},
      {lpqCommand(""), "lpq -P '' > /tmp/lprqueue"},
      {lprmJobCommand("office", "12"), "lprm -P office 12"},
      {lprmJobCommand("it's", "$(id)"), "lprm -P 'it'\\''s' '$(id)'"},
      {lprmJobCommand("p", "1 && reboot"), "lprm -P p '1 && reboot'"},
      {lprmQueueCommand("office"), "lprm -P office all"},
      {lprmQueueCommand("`x`"), "lprm -P '`x`' all"},
      {lprmEverythingCommand(), "lprm -a all"},
      {lprCommand("/etc/testpg.ascii"), "lpr /etc/testpg.ascii"},
      {lprCommand("a b"), "lpr 'a b'"},
  };
  for (const auto& c : cases) EXPECT_EQ(c.first, c.second);
  EXPECT_EQ(restartCommands(), (std::vector<std::string>{
                                   "lprm -a all", "killall lpd", "mkdir /var/run/lprng -p",
                                   "chmod -R 777 /var/run/lprng",
                                   "chown -R daemon:lp /var/run/lprng", "chmod 770 /var/spool/lpd",
                                   "chown -R daemon:lp /var/spool/lpd", "checkpc -f", "lpd"}));
}

}  // namespace
