// Programs that write /etc, /usr, /var or /tmp for a test refuse to run outside the sandbox,
// so that starting one by hand can never change the machine it runs on.
#pragma once

#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <sstream>
#include <string>

// True when every system folder a test may write is the sandbox's own overlay or tmpfs.
inline bool insideSandbox() {
  std::ifstream mountinfo("/proc/self/mountinfo");
  std::string line;
  int covered = 0;
  while (std::getline(mountinfo, line)) {
    std::istringstream fields(line);
    std::string id, parent, device, root, mountPoint;
    fields >> id >> parent >> device >> root >> mountPoint;
    const std::size_t dash = line.find(" - ");
    if (dash == std::string::npos) continue;
    std::istringstream tail(line.substr(dash + 3));
    std::string type, source;
    tail >> type >> source;
    for (const char* dir : {"etc", "usr", "var", "tmp"}) {
      if (mountPoint == std::string("/") + dir && source == std::string("sandbox-") + dir) {
        ++covered;
      }
    }
  }
  return covered >= 4;
}

inline void requireSandbox(const char* program) {
  if (insideSandbox()) return;
  std::fprintf(stderr, "%s: run me inside tests/sandbox/sandbox, never on the machine itself\n",
               program);
  std::exit(2);
}
