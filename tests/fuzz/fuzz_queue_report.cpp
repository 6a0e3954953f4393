// Any bytes lpq may leave: cells are non-empty pieces without blank or line feed; a redirect too.
#include "jobs/queue_report.h"

extern "C" int LLVMFuzzerTestOneInput(const unsigned char* data, std::size_t size) {
  const QueueReport report =
      parseQueueReport(std::string(reinterpret_cast<const char*>(data), size));
  for (const JobRow& row : report.jobs)
    for (const std::string& cell : row)
      if (cell.empty() || cell.find_first_of(" \n") != std::string::npos) __builtin_trap();
  if (report.state.redirect.find_first_of(" \n)") != std::string::npos) __builtin_trap();
  return 0;
}
