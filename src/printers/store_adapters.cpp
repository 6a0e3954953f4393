#include "printers/store_adapters.h"

#include <cerrno>
#include <cstdio>
#include <cstdlib>
#include <optional>
#include <string>

#include "app/i18n.h"
#include "app/widgets.h"
#include "printers/editor_paths.h"
#include "store/printcap.h"
#include "store/samba.h"
#include "store/spooler.h"

namespace {

std::string fieldText(GtkWidget* infoBox, InfoRow row) {
  return entryText(infoFieldOf(infoBox, row));
}

void setFieldIfFound(GtkWidget* infoBox, InfoRow row, const std::optional<std::string>& value) {
  if (value) gtk_entry_set_text(GTK_ENTRY(infoFieldOf(infoBox, row)), value->c_str());
}

}  // namespace

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

void readPrintcap(GtkWidget* printerlist) {
  const std::optional<PrintcapParse> parsed = readPrintcapFile();
  if (!parsed) return;
  appendTableRows(printerlist, parsed->rows);
  if (parsed->stoppedAtOversizedEntry) {
    showMessageDialog(_("Error while reading /etc/printcap"),
                      _("Incorrect entry detected!\nPlease correct or delete the /etc/printcap "
                        "file first"),
                      "gtk-dialog-error");
  }
}

void writePrintcap(GtkWidget* prtlist) {
  if (writePrintcapFiles(tableRows(prtlist))) return;
  showWriteFailure(errno, _("Error: Read only file system"),
                   _("Cannot write printcap!\nPlease make sure that your partition is not "
                     "mounted as read only"),
                   _("Cannot write printcap!\nPlease make sure that your partition has free "
                     "space left"),
                   _("Cannot write printcap!\nYou have no permission to change /etc/printcap: "
                     "only root may change it."));
  std::fflush(stdout);
  std::exit(0);
}

void writeSamba(GtkWidget* fr2group) {
  SambaSettings settings;
  settings.server = fieldText(fr2group, kRowServer);
  settings.printer = fieldText(fr2group, kRowShared);
  settings.user = fieldText(fr2group, kRowSmbUser);
  settings.password = fieldText(fr2group, kRowSmbPassword);
  settings.workgroup = fieldText(fr2group, kRowSmbWorkgroup);
  settings.translate =
      gtk_toggle_button_get_active(GTK_TOGGLE_BUTTON(translateCheckOf(fr2group))) != FALSE;
  writeSambaScript(fieldText(fr2group, kRowName), settings);
}

void readSamba(GtkWidget* fr2group) {
  const std::optional<SambaScriptValues> values = readSambaScript(fieldText(fr2group, kRowName));
  if (!values) return;
  setFieldIfFound(fr2group, kRowServer, values->server);
  setFieldIfFound(fr2group, kRowShared, values->printer);
  setFieldIfFound(fr2group, kRowSmbUser, values->user);
  setFieldIfFound(fr2group, kRowSmbPassword, values->password);
  setFieldIfFound(fr2group, kRowSmbWorkgroup, values->workgroup);
  if (values->translateYes) {
    gtk_toggle_button_set_active(GTK_TOGGLE_BUTTON(translateCheckOf(fr2group)), TRUE);
  }
}

void chkbtnLPDserver_toggled(GtkWidget* widget, gpointer /*data*/) {
  setLpdAtBoot(gtk_toggle_button_get_active(GTK_TOGGLE_BUTTON(widget)) != FALSE);
}
