// Any bytes lpq may leave: cells are non-empty pieces without blank or line feed; a redirect too.
// Every listed job not "done" is queued; a finishing job needs a paused printer.
#include "jobs/queue_report.h"

extern "C" int LLVMFuzzerTestOneInput(const unsigned char* data, std::size_t size) {
  const QueueReport report =
      parseQueueReport(std::string(reinterpret_cast<const char*>(data), size));
  for (const JobRow& row : report.jobs)
    for (const std::string& cell : row)
      if (cell.empty() || cell.find_first_of(" \n") != std::string::npos) __builtin_trap();
  for (const JobRow& row : report.jobs)
    if (row[0] != "done" && !jobQueued(report.jobs, row[3])) __builtin_trap();
  if (currentJobFinishing(report) && !report.state.printingDisabled) __builtin_trap();
  if (report.state.redirect.find_first_of(" \n)") != std::string::npos) __builtin_trap();
  return 0;
}
