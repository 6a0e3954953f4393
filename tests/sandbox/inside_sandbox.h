// Programs that write /etc, /usr, /var or /tmp for a test refuse to run outside the sandbox,
// so that starting one by hand can never change the machine it runs on.
#pragma once

#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <iterator>
#include <regex>
#include <string>

// True when each system folder is the sandbox's: mount point (field 5) with source sandbox-DIR.
inline bool insideSandbox() {
  std::ifstream in("/proc/self/mountinfo");
  const std::string mounts(std::istreambuf_iterator<char>(in), {});
  for (const std::string dir : {"etc", "usr", "var", "tmp"}) {
    const std::regex line("^(\\S+ ){4}/" + dir + " .* - \\S+ sandbox-" + dir + " ",
                          std::regex::multiline);
    if (!std::regex_search(mounts, line)) return false;
  }
  return true;
}

inline void requireSandbox(const char* program) {
  if (insideSandbox()) return;
  std::fprintf(stderr, "%s: run me inside tests/sandbox/sandbox, never on the machine itself\n",
               program);
  std::exit(2);
}
