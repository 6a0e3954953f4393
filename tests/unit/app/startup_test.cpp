#include "app/startup.h"

#include <gtest/gtest.h>

// The kernel escapes a newline in a process name, so a name cannot forge a PPid line.
TEST(ParentProcessId, ReadsOnlyTheRealPPidLine) {
  const std::pair<std::string, pid_t> cases[] = {
      {"Name:\tsolvo-printer-m\nUmask:\t0022\nState:\tS (sleeping)\nPid:\t130\nPPid:\t124\n", 124},
      {"Name:\tPPid:\t7\\nPPid:\t8\nPid:\t9\nPPid:\t1\n", 1},
      {"Name:\tkthreadd\nPid:\t2\nPPid:\t0\n", 0},
      {"", 0}};
  for (const auto& [status, parent] : cases) EXPECT_EQ(parentProcessId(status), parent) << status;
}
