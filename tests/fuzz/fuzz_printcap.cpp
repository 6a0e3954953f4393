// Any bytes must parse; whatever they yield must format and parse again.
#include "store/printcap.h"

extern "C" int LLVMFuzzerTestOneInput(const unsigned char* data, std::size_t size) {
  const std::string text(reinterpret_cast<const char*>(data), size);
  parsePrintcap(formatPrintcap(parsePrintcap(text).rows));
  return 0;
}
