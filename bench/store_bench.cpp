// Printcap parse and format at growing sizes: the cost per entry must stay flat.
#include <benchmark/benchmark.h>

#include <string>
#include <vector>

#include "store/printcap.h"

namespace {

std::vector<PrinterRow> printers(int count) {
  std::vector<PrinterRow> rows;
  rows.reserve(count);
  for (int i = 0; i < count; ++i) {
    const std::string name = "printer" + std::to_string(i);
    switch (i % 3) {
      case 0:
        rows.push_back({i == 0 ? "Yes" : "", name, "Parallel printer", "Parallel", "/dev/lp0",
                        "/usr/lib/lprng/filters/lpf", "", "", "NO"});
        break;
      case 1:
        rows.push_back({"", name, "", "Network", "lp@printserver", "/usr/bin/foomatic-rip",
                        "/usr/local/lib/laser.ppd", "HP LaserJet", "YES"});
        break;
      default:
        rows.push_back(
            {"", name, "Shared", "Samba", "|/etc/dorvek/samba/" + name + ".sh", "", "", "", "NO"});
    }
  }
  return rows;
}

void BM_ParsePrintcap(benchmark::State& state) {
  const std::string text = formatPrintcap(printers(static_cast<int>(state.range(0))));
  for (auto _ : state) benchmark::DoNotOptimize(parsePrintcap(text));
  state.SetItemsProcessed(state.iterations() * state.range(0));
}

void BM_FormatPrintcap(benchmark::State& state) {
  const auto rows = printers(static_cast<int>(state.range(0)));
  for (auto _ : state) benchmark::DoNotOptimize(formatPrintcap(rows));
  state.SetItemsProcessed(state.iterations() * state.range(0));
}

}  // namespace

BENCHMARK(BM_ParsePrintcap)->Arg(10)->Arg(1000)->Arg(10000);
BENCHMARK(BM_FormatPrintcap)->Arg(10)->Arg(1000)->Arg(10000);
BENCHMARK_MAIN();
