// Any byte string must parse without a crash, and whatever it yields must format again.
#include <cstddef>
#include <cstdint>
#include <string>

#include "store/printcap.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  const std::string text(reinterpret_cast<const char*>(data), size);
  const PrintcapParse parsed = parsePrintcap(text);
  parsePrintcap(formatPrintcap(parsed.rows));
  formatPrintersInfo(parsed.rows);
  return 0;
}
