// Any bytes as /etc/dorvek/thinprint.conf: reading must not crash, what it reads must write
// out again, and the start script's line (run by /bin/sh as root) must leave the shell
// nothing to expand or run: outside quotes only plain bytes, blanks and \', quotes balanced.
#include <cstddef>
#include <cstdint>
#include <cstring>
#include <string>

#include "thinprint/thinprint_conf.h"

namespace {

bool inertForShell(const std::string& line) {
  char quote = 0;
  for (std::size_t i = 0; i < line.size(); ++i) {
    const char c = line[i];
    if (quote == '\'') {
      if (c == '\'') quote = 0;
    } else if (c == '\'' || c == '"') {
      if (quote == 0) {
        quote = c;
      } else if (c == quote) {
        quote = 0;
      }
    } else if (quote == 0 && c == '\\' && i + 1 < line.size() && line[i + 1] == '\'') {
      ++i;  // shellQuote's escaped quote between two quoted parts
    } else if (c == '\0' || std::strchr("$`\\", c) != nullptr) {
      return false;
    } else if (quote == 0 && std::strchr(";&|<>()*?[]#~{}!\n\r", c) != nullptr) {
      return false;
    }
  }
  return quote == 0;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  const std::string text(reinterpret_cast<const char*>(data), size);
  ThinPrintSettings settings = parseThinPrintConf(text);
  formatThinPrintConf(settings);
  if (!inertForShell(thinPrintCommandLine(settings))) __builtin_trap();
  // The settings rows are in use whatever the file said, as the page lets the user set them.
  settings.bandwidthInUse = settings.portInUse = true;
  if (!settings.printers.empty()) {
    settings.bandwidth = settings.printers.front().name;
    settings.port = settings.printers.back().device;
  }
  if (!inertForShell(thinPrintCommandLine(settings))) __builtin_trap();
  return 0;
}
