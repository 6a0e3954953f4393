// The device, filter and PPD listings and the test print's queue report: any bytes that
// ls or lpq may leave behind must read without a crash, into items a chooser can show.
#include <glib.h>

#include <cstddef>
#include <cstdint>
#include <string>

#include "printers/listings.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  const std::string text(reinterpret_cast<const char*>(data), size);
  const std::vector<std::string> items = listingItems(text);
  for (const std::string& item : items) {
    if (item.empty() || item.find('\n') != std::string::npos ||
        item.find('\0') != std::string::npos ||
        !g_utf8_validate(item.data(), static_cast<gssize>(item.size()), nullptr)) {
      __builtin_trap();
    }
  }
  const int preselected = preselectedFilter(items);
  if (preselected < 0 ||
      (preselected > 0 && static_cast<std::size_t>(preselected) >= items.size())) {
    __builtin_trap();
  }
  // The failure text is the report's tail: it can only ever be a suffix of what was read.
  if (const auto failure = testPrintFailure(text)) {
    if (failure->empty() ||
        text.compare(text.size() - failure->size(), failure->size(), *failure) != 0) {
      __builtin_trap();
    }
  }
  return 0;
}
