#include "store/printer_table.h"

#include "app/widgets.h"

const char* const kTypeParallel = "Parallel";
const char* const kTypeSerial = "Serial";
const char* const kTypeUSB = "USB";
const char* const kTypeNetwork = "Network";
const char* const kTypeSamba = "Samba";
const char* const kTypeUnknown = "Unknown";

// Page box > child 2 (scrolled window) > child 1 (the table).
GtkWidget* printerTableOf(GtkWidget* printersPageBox) {
  return widgetAt(printersPageBox, {2, 1});
}

PrinterRow tableRow(GtkWidget* printerTable, int row) {
  PrinterRow cells;
  for (int column = 0; column < kPrinterColumns; ++column) {
    cells[column] = clistCell(printerTable, row, column);
  }
  return cells;
}

std::vector<PrinterRow> tableRows(GtkWidget* printerTable) {
  std::vector<PrinterRow> rows(static_cast<std::size_t>(clistRows(printerTable)));
  for (int column = 0; column < kPrinterColumns; ++column) {
    std::vector<std::string> cells = clistColumn(printerTable, column);
    for (std::size_t row = 0; row < rows.size() && row < cells.size(); ++row) {
      rows[row][column] = std::move(cells[row]);
    }
  }
  return rows;
}

void appendTableRows(GtkWidget* printerTable, const std::vector<PrinterRow>& rows) {
  GtkCList* list = GTK_CLIST(printerTable);
  gtk_clist_freeze(list);
  for (const PrinterRow& row : rows) {
    gchar* cells[kPrinterColumns];
    for (int column = 0; column < kPrinterColumns; ++column) {
      // GtkCList copies the texts; the cast only satisfies its old non-const signature.
      cells[column] = const_cast<gchar*>(row[column].c_str());
    }
    gtk_clist_append(list, cells);
  }
  gtk_clist_thaw(list);
}

void setTableRow(GtkWidget* printerTable, int row, const PrinterRow& cells) {
  for (int column = 0; column < kPrinterColumns; ++column) {
    gtk_clist_set_text(GTK_CLIST(printerTable), row, column, cells[column].c_str());
  }
}
