// Readers and writers at growing sizes: the cost per entry must stay flat. Each text also gets
// a baseline, one line-by-line pass over the same bytes, so a reader's cost reads as a multiple
// of merely walking its input.
#include <benchmark/benchmark.h>

#include <string>
#include <string_view>
#include <vector>

#include "bench_data.h"
#include "jobs/queue_report.h"
#include "store/printcap.h"
#include "thinprint/thinprint_conf.h"

namespace {

using bench::printers;
using bench::queueReport;
using bench::thinPrintConf;

// Walks the lines of the text and nothing more.
void lineScan(benchmark::State& state, const std::string& text) {
  for (auto _ : state) {
    std::size_t lines = 0;
    for (std::size_t pos = 0; pos < text.size(); ++lines) {
      const auto newline = text.find('\n', pos);
      pos = newline == std::string::npos ? text.size() : newline + 1;
    }
    benchmark::DoNotOptimize(lines);
  }
  state.SetItemsProcessed(state.iterations() * state.range(0));
}

int size(const benchmark::State& state) {
  return static_cast<int>(state.range(0));
}

void BM_PrintcapParse(benchmark::State& state) {
  const std::string text = formatPrintcap(printers(size(state)));
  for (auto _ : state) benchmark::DoNotOptimize(parsePrintcap(text));
  state.SetItemsProcessed(state.iterations() * state.range(0));
}

void BM_PrintcapFormat(benchmark::State& state) {
  const auto rows = printers(size(state));
  for (auto _ : state) benchmark::DoNotOptimize(formatPrintcap(rows));
  state.SetItemsProcessed(state.iterations() * state.range(0));
}

void BM_PrintcapBaseline(benchmark::State& state) {
  lineScan(state, formatPrintcap(printers(size(state))));
}

void BM_QueueReportParse(benchmark::State& state) {
  const std::string text = queueReport(size(state));
  for (auto _ : state) benchmark::DoNotOptimize(parseQueueReport(text));
  state.SetItemsProcessed(state.iterations() * state.range(0));
}

void BM_QueueReportBaseline(benchmark::State& state) {
  lineScan(state, queueReport(size(state)));
}

void BM_ThinPrintParse(benchmark::State& state) {
  const std::string text = thinPrintConf(size(state));
  for (auto _ : state) benchmark::DoNotOptimize(parseThinPrintConf(text));
  state.SetItemsProcessed(state.iterations() * state.range(0));
}

void BM_ThinPrintFormat(benchmark::State& state) {
  const ThinPrintSettings settings = parseThinPrintConf(thinPrintConf(size(state)));
  for (auto _ : state) benchmark::DoNotOptimize(formatThinPrintConf(settings));
  state.SetItemsProcessed(state.iterations() * state.range(0));
}

void BM_ThinPrintBaseline(benchmark::State& state) {
  lineScan(state, thinPrintConf(size(state)));
}

}  // namespace

BENCHMARK(BM_PrintcapParse)->Arg(10)->Arg(1000)->Arg(10000);
BENCHMARK(BM_PrintcapFormat)->Arg(10)->Arg(1000)->Arg(10000);
BENCHMARK(BM_PrintcapBaseline)->Arg(10)->Arg(1000)->Arg(10000);
BENCHMARK(BM_QueueReportParse)->Arg(10)->Arg(1000);
BENCHMARK(BM_QueueReportBaseline)->Arg(10)->Arg(1000);
BENCHMARK(BM_ThinPrintParse)->Arg(10)->Arg(1000);
BENCHMARK(BM_ThinPrintFormat)->Arg(10)->Arg(1000);
BENCHMARK(BM_ThinPrintBaseline)->Arg(10)->Arg(1000);
BENCHMARK_MAIN();
