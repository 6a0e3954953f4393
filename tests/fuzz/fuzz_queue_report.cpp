// Any bytes lpq may leave: every cell is one non-empty piece without a blank or line feed.
#include "jobs/queue_report.h"

extern "C" int LLVMFuzzerTestOneInput(const unsigned char* data, std::size_t size) {
  for (const JobRow& row : parseQueueReport(std::string(reinterpret_cast<const char*>(data), size)))
    for (const std::string& cell : row)
      if (cell.empty() || cell.find_first_of(" \n") != std::string::npos) __builtin_trap();
  return 0;
}
