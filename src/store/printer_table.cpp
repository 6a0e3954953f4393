#include "store/printer_table.h"

const char* const kTypeParallel = "Parallel";
const char* const kTypeSerial = "Serial";
const char* const kTypeUSB = "USB";
const char* const kTypeNetwork = "Network";
const char* const kTypeSamba = "Samba";
const char* const kTypeUnknown = "Unknown";
