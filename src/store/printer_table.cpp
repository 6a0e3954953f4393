#include "store/printer_table.h"

#include "app/text.h"

const char* const kTypeParallel = "Parallel";
const char* const kTypeSerial = "Serial";
const char* const kTypeUSB = "USB";
const char* const kTypeNetwork = "Network";
const char* const kTypeSamba = "Samba";
const char* const kTypeUnknown = "Unknown";

std::string networkHost(const std::string& type, const std::string& device) {
  return type == kTypeNetwork ? getstrafter(device, "@") : std::string();
}
