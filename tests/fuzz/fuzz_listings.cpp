// Any bytes ls or lpq may leave: items a chooser can show, the report's tail, and only digits
// as the test page's job numbers.
#include <glib.h>

#include "printers/listings.h"

extern "C" int LLVMFuzzerTestOneInput(const unsigned char* data, std::size_t size) {
  const std::string text(reinterpret_cast<const char*>(data), size);
  for (const std::string& item : listingItems(text))
    if (item.empty() || item.find_first_of(std::string("\n\0", 2)) != std::string::npos ||
        !g_utf8_validate(item.data(), static_cast<gssize>(item.size()), nullptr))
      __builtin_trap();
  const auto failure = testPrintFailure(text);
  if (failure && (failure->empty() ||
                  text.substr(text.size() - std::min(text.size(), failure->size())) != *failure))
    __builtin_trap();
  for (const std::string& job : jobsOfFile(text, "/etc/testpg.ascii"))
    if (job.find_first_not_of("0123456789") != std::string::npos) __builtin_trap();
  return 0;
}
