// libFuzzer entry: the queue report reader must take any bytes lpq might leave behind.
#include <cstddef>
#include <cstdint>
#include <string>

#include "jobs/queue_report.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  const std::string text(reinterpret_cast<const char*>(data), size);
  for (const JobRow& row : parseQueueReport(text)) {
    for (const std::string& cell : row) {
      // A cell is never empty and never holds a blank or a line feed.
      if (cell.empty() || cell.find(' ') != std::string::npos ||
          cell.find('\n') != std::string::npos) {
        __builtin_trap();
      }
    }
  }
  return 0;
}
