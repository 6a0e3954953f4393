// Any bytes lpq may leave: every cell is one non-empty piece without a blank or line feed, and
// a redirect's destination is one piece of the Printer line.
#include "jobs/queue_report.h"

extern "C" int LLVMFuzzerTestOneInput(const unsigned char* data, std::size_t size) {
  const QueueReport report =
      parseQueueReport(std::string(reinterpret_cast<const char*>(data), size));
  for (const JobRow& row : report.jobs)
    for (const std::string& cell : row)
      if (cell.empty() || cell.find_first_of(" \n") != std::string::npos) __builtin_trap();
  if (report.state.redirect.find_first_of("\n)") != std::string::npos) __builtin_trap();
  if (heldJobs(report.jobs) > static_cast<int>(report.jobs.size())) __builtin_trap();
  return 0;
}
