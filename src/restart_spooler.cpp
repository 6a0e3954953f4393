// /usr/lib/solvo-printer-mgr/restart-spooler: the program's own spooler restart, for the fleet
// playbooks, so that its nine command lines are written down once. No window, no options.
#include "store/spooler.h"

int main() {
  preparelpd();
  return 0;
}
