// bench_data printcap|report COUNT: prints a generated /etc/printcap (in our writer's own format)
// or an lpq report, so the shell benches fill the sandbox with the same inputs as the others.
#include "bench_data.h"

#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string>

#include "store/printcap.h"

int main(int argc, char** argv) {
  if (argc != 3) {
    std::fprintf(stderr, "usage: %s printcap|report COUNT\n", argv[0]);
    return 2;
  }
  const int count = std::atoi(argv[2]);
  std::string text;
  if (std::strcmp(argv[1], "printcap") == 0) {
    text = formatPrintcap(bench::printers(count));
  } else if (std::strcmp(argv[1], "report") == 0) {
    text = bench::queueReport(count);
  } else {
    std::fprintf(stderr, "%s: unknown kind %s\n", argv[0], argv[1]);
    return 2;
  }
  std::fwrite(text.data(), 1, text.size(), stdout);
  return 0;
}
