// Any bytes an LPD host, a DNS-SD announcement or smbclient may send: names that can go into a
// printcap and a command line, texts a widget can show.
#include <glib.h>

#include "find/replies.h"

namespace {
bool printcapSafe(const std::string& name) {
  return !name.empty() && name.find_first_of(std::string(" \t\n\r:@\0", 7)) == std::string::npos;
}
bool showable(const std::string& text) {
  return g_utf8_validate(text.data(), static_cast<gssize>(text.size()), nullptr);
}
}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const unsigned char* data, std::size_t size) {
  const std::string text(reinterpret_cast<const char*>(data), size);
  for (const std::string& queue : lprngQueues(text))
    if (!printcapSafe(queue)) __builtin_trap();
  probedQueueExists(text);
  if (!showable(lpdRefusal(text)) ||
      !printcapSafe(announcedQueue({text, "x=" + text}).value_or("lp")) ||
      !printcapSafe(ippQueueHint({text}) + "x"))
    __builtin_trap();
  // A share name offered never splits the Samba print script's line.
  if (shareNameFault(text) == ShareNameFault::kNone &&
      text.find_first_of(std::string(" \t\n\r\0", 5)) != std::string::npos)
    __builtin_trap();
  const ShareListing listing = parseShareListing(text, size % 2 == 1);
  for (const PrinterShare& share : listing.printers)
    if (share.name.empty() || !showable(share.name) || !showable(share.comment)) __builtin_trap();
  if (!showable(listing.reason)) __builtin_trap();
  return 0;
}
