// Spooler restart overhead: the program's preparelpd against the same nine command lines run by
// one /bin/sh script, both against the real LPRng with 10 printers. Runs alternate; medians.
//   restart_bench [RUNS]     (inside tests/sandbox/sandbox: it stops and starts lpd)
// Prints "restart_us base=<median> prog=<median> runs=<n>".
#include <spawn.h>
#include <sys/wait.h>
#include <time.h>

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <string>
#include <vector>

#include "app/files.h"
#include "bench_data.h"
#include "store/printcap.h"
#include "store/spooler.h"

extern char** environ;

namespace {

const char* const kScript = "/tmp/restart-baseline.sh";

long long nowMicros() {
  timespec ts{};
  clock_gettime(CLOCK_MONOTONIC, &ts);
  return static_cast<long long>(ts.tv_sec) * 1000000LL + ts.tv_nsec / 1000;
}

// The baseline: one shell reads the eight lines and runs them in turn.
void runScript() {
  char shell[] = "/bin/sh";
  char script[] = "/tmp/restart-baseline.sh";
  char* argv[] = {shell, script, nullptr};
  pid_t pid = 0;
  if (posix_spawn(&pid, shell, nullptr, nullptr, argv, environ) != 0) std::exit(1);
  int status = 0;
  waitpid(pid, &status, 0);
}

template <typename Run>
long long timed(Run run) {
  const long long start = nowMicros();
  run();
  return nowMicros() - start;
}

long long median(std::vector<long long> values) {
  std::sort(values.begin(), values.end());
  const std::size_t n = values.size();
  return n % 2 ? values[n / 2] : (values[n / 2 - 1] + values[n / 2]) / 2;
}

}  // namespace

int main(int argc, char** argv) {
  if (std::getenv("SPM_IN_SANDBOX") == nullptr) {
    std::fprintf(stderr, "restart_bench: run it inside tests/sandbox/sandbox\n");
    return 2;
  }
  const int runs = argc > 1 ? std::max(1, std::atoi(argv[1])) : 7;
  // Ten local printers: network ones name localhost, the sandbox has no other host.
  std::vector<PrinterRow> rows = bench::printers(10);
  for (PrinterRow& row : rows) {
    if (row[kColType] == kTypeNetwork) row[kColDevice] = "lp@localhost";
  }
  if (!replaceFile(kPrintcapPath, formatPrintcap(rows))) return 1;
  std::string script;
  for (const std::string& line : restartCommands()) script += line + "\n";
  if (!replaceFile(kScript, script, 0755)) return 1;

  // One untimed round of each: spool folders made, binaries in the page cache.
  runScript();
  preparelpd();
  std::vector<long long> base, prog;
  for (int i = 0; i < runs; ++i) {
    base.push_back(timed(runScript));
    prog.push_back(timed(preparelpd));
    std::fprintf(stderr, "restart run %2d  baseline %lld us  program %lld us\n", i + 1, base.back(),
                 prog.back());
  }
  std::printf("restart_us base=%lld prog=%lld runs=%d\n", median(base), median(prog), runs);
  return 0;
}
