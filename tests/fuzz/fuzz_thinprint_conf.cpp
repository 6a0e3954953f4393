// Any bytes as /etc/dorvek/thinprint.conf: reading must not crash, and what it reads must
// write out again.
#include <cstddef>
#include <cstdint>
#include <string>

#include "thinprint/thinprint_conf.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  const std::string text(reinterpret_cast<const char*>(data), size);
  const ThinPrintSettings settings = parseThinPrintConf(text);
  formatThinPrintConf(settings);
  thinPrintCommandLine(settings);
  return 0;
}
