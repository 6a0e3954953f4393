// The printer row and the printer table: the one in-memory model of the printers.
#pragma once

#include <gtk/gtk.h>

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

// The printer table: child 1 of child 2 of the Printers page box (check button, scrolled
// window > table, button row).
GtkWidget* printerTableOf(GtkWidget* printersPageBox);

// All rows of the printer table, cells as the table holds them.
std::vector<PrinterRow> tableRows(GtkWidget* printerTable);
PrinterRow tableRow(GtkWidget* printerTable, int row);
// Appends rows in one go (the list is frozen meanwhile, so a long printcap fills fast).
void appendTableRows(GtkWidget* printerTable, const std::vector<PrinterRow>& rows);
void setTableRow(GtkWidget* printerTable, int row, const PrinterRow& cells);
