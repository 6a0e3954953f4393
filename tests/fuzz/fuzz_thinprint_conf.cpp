// Any thinprint.conf: the start script's line (run by /bin/sh as root) runs nothing else.
#include <cstring>

#include "thinprint/thinprint_conf.h"

static bool inertForShell(const std::string& line) {
  char quote = '\0';
  for (std::size_t i = 0; i < line.size(); ++i) {
    const char c = line[i];
    if (quote == '\'' || c == '\'' || c == '"') {
      quote = quote == '\0' ? c : (c == quote ? '\0' : quote);
    } else if (quote == '\0' && c == '\\' && i + 1 < line.size() && line[i + 1] == '\'') {
      ++i;  // shellQuote's escaped quote between two quoted parts
    } else if (std::strchr("$`\\", c) ||
               (quote == '\0' && std::strchr(";&|<>()*?[]#~{}!\n\r", c))) {
      return false;  // strchr finds a NUL byte too
    }
  }
  return quote == '\0';
}

extern "C" int LLVMFuzzerTestOneInput(const unsigned char* data, std::size_t size) {
  const ThinPrintSettings s =
      parseThinPrintConf(std::string(reinterpret_cast<const char*>(data), size));
  if (!inertForShell(thinPrintCommandLine(s))) __builtin_trap();
  return 0;
}
