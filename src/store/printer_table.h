// The printer row: one printer of the printer table, the one in-memory model of the printers
// (the table itself is a widget of the Printers page: printers/store_adapters.h).
#pragma once

#include <array>
#include <string>
#include <vector>

// Columns of a printer row, in table order.
enum PrinterColumn {
  kColDefault = 0,  // "Yes" on the default printer's row, otherwise empty
  kColName,         // queue name
  kColDescription,
  kColType,    // one of the type words below, or "Unknown"
  kColDevice,  // device file, "|/etc/dorvek/samba/NAME.sh", or queue@server
  kColFilter,
  kColPPD,
  kColWD,  // Windows driver name
  kColFQ,  // "YES" for a form feed; "NO" or empty otherwise
  kPrinterColumns
};

using PrinterRow = std::array<std::string, kPrinterColumns>;

// Printer type words.
extern const char* const kTypeParallel;
extern const char* const kTypeSerial;
extern const char* const kTypeUSB;
extern const char* const kTypeNetwork;
extern const char* const kTypeSamba;
extern const char* const kTypeUnknown;

// The host a Network printer's queue is forwarded to (its Device "queue@host"); empty for a
// printer of any other type.
std::string networkHost(const std::string& type, const std::string& device);
