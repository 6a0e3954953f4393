// Readers and writers at growing sizes: the cost per entry must stay flat. Each text also gets
// a baseline, one line-by-line pass over the same bytes, so a reader's cost reads as a multiple
// of merely walking its input.
#include <benchmark/benchmark.h>

#include <string>
#include <string_view>
#include <vector>

#include "jobs/queue_report.h"
#include "store/printcap.h"
#include "thinprint/thinprint_conf.h"

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

// lpq's report as LPRng prints it: status lines, the header, one line per job.
std::string queueReport(int jobs) {
  std::string text =
      "Printer: office@localhost 'lpdfilter drv=upp method=auto color=auto'\n"
      " Queue: " +
      std::to_string(jobs) +
      " printable jobs\n"
      " Server: pid 81 active\n"
      " Unspooler: pid 83 active\n"
      " Rank   Owner/ID               Pr/Class Job Files                 Size Time\n";
  for (int i = 0; i < jobs; ++i) {
    const std::string id = std::to_string(100 + i);
    text += (i == 0 ? "active" : std::to_string(i) + "     ").substr(0, 6) + " root@localhost+" +
            id + "            A  " + id + " /home/user/report-" + id + ".txt   4" + id +
            " 07:03:38\n";
  }
  return text;
}

std::string thinPrintConf(int count) {
  std::string text = "BANDWIDTH=256000\nPORT=4000\n";
  for (int i = 0; i < count; ++i) {
    text += "/dev/usb/lp" + std::to_string(i % 4) + " \"Laser " + std::to_string(i) + "\"\n";
  }
  return text;
}

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
