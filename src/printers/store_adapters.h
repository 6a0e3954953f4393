// The store's widgets: what moves printer rows, the printcap, a Samba script's settings and the
// boot-time switch in and out of the Printers page and the printer editor. The store itself
// knows no window; the Jobs and ThinPrint pages reach the printer table through here.
#pragma once

#include <gtk/gtk.h>

#include <vector>

#include "store/printer_table.h"

// The printer table: child 1 of child 2 of the Printers page box (check button, scrolled
// window > table, button row).
GtkWidget* printerTableOf(GtkWidget* printersPageBox);

// All rows of the printer table, cells as the table holds them.
std::vector<PrinterRow> tableRows(GtkWidget* printerTable);
PrinterRow tableRow(GtkWidget* printerTable, int row);
// Appends rows in one go (the list is frozen meanwhile, so a long printcap fills fast).
void appendTableRows(GtkWidget* printerTable, const std::vector<PrinterRow>& rows);
void setTableRow(GtkWidget* printerTable, int row, const PrinterRow& cells);

// Appends one row per entry of /etc/printcap to the (empty) printer table; shows the
// "Error while reading /etc/printcap" dialog for an oversized entry.
void readPrintcap(GtkWidget* printerlist);
// Writes /etc/printcap and /etc/printers_info from the whole table. When /etc/printcap
// cannot be written, shows "Error: Disk full" (no space left) or "Error: Read only file
// system" (any other cause) and ends the program (status 0).
void writePrintcap(GtkWidget* prtlist);

// Both take the Printer Info box of an open printer editor (rows 1, 4-8 and 13): the script of
// the printer named there, written from its Samba fields or read back into them.
void writeSamba(GtkWidget* fr2group);
void readSamba(GtkWidget* fr2group);

// "toggled" handler of "Load LPD Server at boot time": writes or removes the boot script.
void chkbtnLPDserver_toggled(GtkWidget* widget, gpointer data);
