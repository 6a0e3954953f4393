#include "printers/printers_page.h"

#include <algorithm>
#include <string>

#include "app/files.h"
#include "app/i18n.h"
#include "app/rights.h"
#include "app/shell.h"
#include "app/startup.h"
#include "app/text.h"
#include "app/widgets.h"
#include "printers/editor.h"
#include "printers/page_paths.h"
#include "printers/store_adapters.h"
#include "printers/test_print.h"
#include "store/printcap.h"
#include "store/samba.h"
#include "store/spooler.h"

namespace {

struct Column {
  const char* title;
  int width;
  bool shown;
  GtkJustification justification;
};

const Column kColumns[kPrinterColumns] = {
    // TRANSLATORS: column title; its cell marks the default printer.
    {N_("Default"), 60, true, GTK_JUSTIFY_CENTER},
    {N_("Printer Name"), 100, true, GTK_JUSTIFY_LEFT},
    {N_("Description"), 100, true, GTK_JUSTIFY_LEFT},
    // TRANSLATORS: column title: how the printer is reached (Parallel, USB, Network...).
    {N_("Type"), 60, true, GTK_JUSTIFY_LEFT},
    {N_("Device"), 155, true, GTK_JUSTIFY_LEFT},
    {N_("Filter"), 0, false, GTK_JUSTIFY_LEFT},
    {N_("PPD"), 0, false, GTK_JUSTIFY_LEFT},
    // TRANSLATORS: title of a hidden column, short for "Windows Driver".
    {N_("WD"), 0, false, GTK_JUSTIFY_LEFT},
    // TRANSLATORS: title of a hidden column, short for "form feed".
    {N_("FQ"), 0, false, GTK_JUSTIFY_LEFT},
};

// The page box, from a button of the button row (button row > page box).
GtkWidget* pageBoxOfButton(GtkWidget* button) {
  return ancestor(button, 2);
}

// Main window, from a button of the row (button row > page box > notebook > main window).
GtkWidget* mainWindowOfButton(GtkWidget* button) {
  return ancestor(button, 4);
}

// row_n may be stale after rows vanished; Modify and Delete only ever act on a real row.
int clampedSelectedRow(GtkWidget* table) {
  const int rows = clistRows(table);
  if (rows == 0) return -1;
  row_n = std::clamp(row_n, 0, rows - 1);
  return row_n;
}

GtkWidget* buildBootSwitch(GtkWidget* pageBox) {
  GtkWidget* check = gtk_check_button_new_with_label(_("Load LPD Server at boot time"));
  g_signal_connect(check, "toggled", G_CALLBACK(chkbtnLPDserver_toggled), nullptr);
  gtk_box_pack_start(GTK_BOX(pageBox), check, FALSE, FALSE, 10);
  if (!canOpenForReading("/usr/sbin/lpd")) gtk_widget_set_sensitive(check, FALSE);
  // Setting it active runs the handler, which writes the boot script anew: wanted.
  if (canOpenForReading("/etc/init.d/runlpd")) {
    gtk_toggle_button_set_active(GTK_TOGGLE_BUTTON(check), TRUE);
  }
  return check;
}

GtkWidget* buildPrinterTable(GtkWidget* pageBox) {
  GtkWidget* table = gtk_clist_new(kPrinterColumns);
  for (int column = 0; column < kPrinterColumns; ++column) {
    const Column& c = kColumns[column];
    addPlistCol(column, c.width, _(c.title), table, c.shown ? 1 : 0, c.justification);
  }
  GtkWidget* scrolled = scrolledBrowseList(table, G_CALLBACK(printerlist_selected), nullptr);
  gtk_box_pack_start(GTK_BOX(pageBox), scrolled, TRUE, TRUE, 0);
  return table;
}

void packButton(GtkWidget* row, const char* label, GCallback handler) {
  GtkWidget* button = gtk_button_new_with_label(label);
  g_signal_connect(button, "clicked", handler, nullptr);
  gtk_box_pack_start(GTK_BOX(row), button, TRUE, TRUE, 0);
}

void buildButtonRow(GtkWidget* pageBox) {
  GtkWidget* row = gtk_hbox_new(TRUE, 0);
  gtk_box_pack_start(GTK_BOX(pageBox), row, FALSE, FALSE, 5);
  // TRANSLATORS: Add, Modify and Delete are buttons (verbs) acting on printers.
  packButton(row, _("Add"), G_CALLBACK(buttonAdd_clicked));
  gtk_widget_set_size_request(findWidget(row, nullptr, 1), 90, 30);
  packButton(row, _("Modify"), G_CALLBACK(buttonModify_clicked));
  packButton(row, _("Delete"), G_CALLBACK(buttonDelete_clicked));
  gtk_box_pack_start(GTK_BOX(row), gtk_fixed_new(), TRUE, TRUE, 0);
  // TRANSLATORS: button: ends the program.
  packButton(row, _("Exit"), G_CALLBACK(window_destroyed));
}

void removePrinterFiles(const PrinterRow& printer) {
  const std::string& name = printer[kColName];
  if (!safeFileName(name)) return;
  // While lpd still knows the printer: its jobs would stay behind, orphaned, in its spool.
  runCommand(lprmQueueCommand(name));
  if (equalsIgnoreCase(printer[kColType], kTypeSamba)) {
    runCommand("rm " + shellQuote(sambaScriptPath(name)) + " -f");
  }
  runCommand(removeSpoolFolderCommand(name));
}

void removeRow(GtkWidget* table, int row) {
  gtk_clist_remove(GTK_CLIST(table), row);
  const int rows = clistRows(table);
  if (rows == 0) {
    row_n = 0;
    return;
  }
  // Keep the selection and row_n on the same, existing row.
  gtk_clist_select_row(GTK_CLIST(table), std::min(row, rows - 1), 0);
  row_n = std::min(row, rows - 1);
  if (find_data(table, "Yes", kColDefault) < 0) {
    gtk_clist_set_text(GTK_CLIST(table), 0, kColDefault, "Yes");
  }
}

}  // namespace

void drawprinterlist(GtkWidget* pageBox) {
  buildBootSwitch(pageBox);
  GtkWidget* table = buildPrinterTable(pageBox);
  buildButtonRow(pageBox);
  recoverFromTestPrint();
  readPrintcap(table);
  gtk_widget_show_all(pageBox);
  syncModifyDeleteSensitivity(pageBox);
  offerOnlyToRoot({bootSwitchOf(pageBox), addButtonOf(pageBox), modifyButtonOf(pageBox),
                   deleteButtonOf(pageBox)});
}

void printerlist_selected(GtkWidget* /*widget*/, gint row, gint /*column*/,
                          GdkEventButton* /*event*/, gpointer /*data*/) {
  row_n = row;
}

void buttonAdd_clicked(GtkWidget* widget, gpointer /*data*/) {
  GtkWidget* table = printerTableOf(pageBoxOfButton(widget));
  gtk_widget_set_sensitive(mainWindowOfButton(widget), FALSE);
  AddModifyprinter(_("Add New Printer"), table);
}

void buttonModify_clicked(GtkWidget* widget, gpointer /*data*/) {
  GtkWidget* table = printerTableOf(pageBoxOfButton(widget));
  if (clampedSelectedRow(table) < 0) return;
  AddModifyprinter(_("Modify Printer"), table);
  gtk_widget_set_sensitive(mainWindowOfButton(widget), FALSE);
}

void buttonDelete_clicked(GtkWidget* widget, gpointer /*data*/) {
  GtkWidget* pageBox = pageBoxOfButton(widget);
  GtkWidget* table = printerTableOf(pageBox);
  const int row = clampedSelectedRow(table);
  if (row < 0) return;
  const PrinterRow printer = tableRow(table, row);
  const std::string question =
      formatted(_("Are you sure you want to delete '%s'?"), markupEscape(printer[kColName]));
  if (!confirmDialog(_("Delete Printer Confirmation"), question)) return;
  removePrinterFiles(printer);
  removeRow(table, row);
  syncModifyDeleteSensitivity(pageBox);
  writePrintcap(table);
  preparelpd();
}
