#include "jobs/jobs_page.h"

#include <optional>
#include <string>
#include <vector>

#include "app/files.h"
#include "app/i18n.h"
#include "app/rights.h"
#include "app/shell.h"
#include "app/startup.h"
#include "app/widgets.h"
#include "jobs/queue_report.h"
#include "store/printer_table.h"
#include "store/spooler.h"

int jrow_n = 0;

// page box > 1 chooser row
GtkWidget* jobsChooserRowOf(GtkWidget* pageBox) {
  return widgetAt(pageBox, {1});
}
namespace {

// The printer names the chooser is to offer, taken at start-up, wait here until the chooser is
// first used.
const char* const kWaitingNames = "spm-waiting-names";
using PrinterNames = std::vector<std::string>;

// A combo box builds a menu item for every row and measures every row on each size request,
// hidden or not, and every row put into its model costs a signal: with many printers that was
// most of start-up. So the rows are only made when something first asks for the chooser, which
// is at the latest the first switch to this page, before it shows.
void attachWaitingNames(GtkWidget* chooser) {
  if (chooser == nullptr || !GTK_IS_COMBO_BOX(chooser)) return;
  auto* names = static_cast<PrinterNames*>(g_object_steal_data(G_OBJECT(chooser), kWaitingNames));
  if (names == nullptr) return;
  GtkComboBox* combo = GTK_COMBO_BOX(chooser);
  // Filled detached: an attached combo box rebuilds its menu for every row that arrives.
  GtkListStore* store = GTK_LIST_STORE(g_object_ref(gtk_combo_box_get_model(combo)));
  gtk_combo_box_set_model(combo, nullptr);
  int row = 0;
  for (const std::string& name : *names) {
    gtk_list_store_insert_with_values(store, nullptr, row++, 0, name.c_str(), -1);
  }
  gtk_combo_box_set_model(combo, GTK_TREE_MODEL(store));
  g_object_unref(store);
  if (!names->empty()) gtk_combo_box_set_active(combo, 0);
  delete names;
}

void deleteNames(gpointer names) {
  delete static_cast<PrinterNames*>(names);
}

}  // namespace

// page box > 1 chooser row > 2 printer chooser (packed from the end, after the label)
GtkWidget* jobsChooserOf(GtkWidget* pageBox) {
  GtkWidget* chooser = widgetAt(pageBox, {1, 2});
  attachWaitingNames(chooser);
  return chooser;
}
// page box > 2 scrolled window > 1 job table
GtkWidget* jobTableOf(GtkWidget* pageBox) {
  return widgetAt(pageBox, {2, 1});
}
// page box > 3 button row
GtkWidget* jobsButtonRowOf(GtkWidget* pageBox) {
  return widgetAt(pageBox, {3});
}
// printer chooser < chooser row < page box
GtkWidget* jobsPageOfChooser(GtkWidget* chooser) {
  return ancestor(chooser, 2);
}
// printer chooser < chooser row < page box < notebook
GtkWidget* notebookOfChooser(GtkWidget* chooser) {
  return ancestor(chooser, 3);
}
// button < button row < page box
GtkWidget* jobsPageOfButton(GtkWidget* button) {
  return ancestor(button, 2);
}
// notebook > page 1 (the Jobs page box)
GtkWidget* jobsPageOfNotebook(GtkWidget* notebook) {
  return gtk_notebook_get_nth_page(GTK_NOTEBOOK(notebook), 1);
}

namespace {

bool jobsPageIsCurrent(GtkWidget* chooser) {
  GtkWidget* notebook = notebookOfChooser(chooser);
  return notebook != nullptr && GTK_IS_NOTEBOOK(notebook) &&
         gtk_notebook_get_current_page(GTK_NOTEBOOK(notebook)) == 1;
}

bool hasPrinter(GtkWidget* chooser) {
  return gtk_combo_box_get_active(GTK_COMBO_BOX(chooser)) >= 0;
}

// Timers carry the chooser as their data; a chooser that goes away takes its timers along,
// so no tick ever sees a destroyed widget.
void removeTimersOf(GtkWidget* chooser, gpointer /*data*/) {
  while (g_source_remove_by_user_data(chooser)) {
  }
}

// The printer names of the Printers page (notebook page 0), which exists before this page.
void fillChooser(GtkWidget* chooser, GtkWidget* pageBox) {
  GtkWidget* notebook = gtk_widget_get_parent(pageBox);
  if (notebook == nullptr || !GTK_IS_NOTEBOOK(notebook)) return;
  GtkWidget* printersPage = gtk_notebook_get_nth_page(GTK_NOTEBOOK(notebook), 0);
  if (printersPage == nullptr || !GTK_IS_CONTAINER(printersPage)) return;
  GtkWidget* table = printerTableOf(printersPage);
  if (table == nullptr || !GTK_IS_CLIST(table)) return;
  auto* names = new PrinterNames(clistColumn(table, kColName));
  g_object_set_data_full(G_OBJECT(chooser), kWaitingNames, names, deleteNames);
}

GtkWidget* makeJobTable() {
  GtkWidget* table = gtk_clist_new(7);
  addPlistCol(kJobRank, 60, _("Rank"), table, 1, GTK_JUSTIFY_CENTER);
  addPlistCol(kJobOwner, 150, _("Owner"), table, 1, GTK_JUSTIFY_LEFT);
  addPlistCol(kJobClass, 50, _("Class"), table, 1, GTK_JUSTIFY_CENTER);
  addPlistCol(kJobId, 50, _("Job ID"), table, 1, GTK_JUSTIFY_CENTER);
  addPlistCol(kJobFiles, 140, _("Files"), table, 1, GTK_JUSTIFY_LEFT);
  addPlistCol(kJobSize, 60, _("Size"), table, 1, GTK_JUSTIFY_LEFT);
  addPlistCol(kJobTime, 120, _("Time"), table, 1, GTK_JUSTIFY_LEFT);
  gtk_clist_set_selection_mode(GTK_CLIST(table), GTK_SELECTION_BROWSE);
  gtk_clist_column_titles_show(GTK_CLIST(table));
  g_signal_connect(table, "select_row", G_CALLBACK(joblist_selected), nullptr);
  return table;
}

// Selects row jrow_n again, or the last row when the table got shorter; the selection handler
// makes jrow_n follow, so Delete acts on the row that is highlighted.
void selectRememberedRow(GtkWidget* table) {
  const int rows = clistRows(table);
  if (rows == 0) return;
  gtk_clist_select_row(GTK_CLIST(table), CLAMP(jrow_n, 0, rows - 1), 0);
}

GtkWidget* packButton(GtkWidget* row, const char* label, GCallback handler) {
  GtkWidget* button = gtk_button_new_with_label(label);
  gtk_box_pack_start(GTK_BOX(row), button, TRUE, TRUE, 0);
  g_signal_connect(button, "clicked", handler, nullptr);
  return button;
}

}  // namespace

void drawprintjobs(GtkWidget* pageBox) {
  GtkWidget* chooserRow = gtk_hbox_new(FALSE, 0);
  gtk_box_pack_start(GTK_BOX(pageBox), chooserRow, FALSE, FALSE, 10);
  GtkWidget* label = gtk_label_new(_("Select Printer:"));
  gtk_label_set_justify(GTK_LABEL(label), GTK_JUSTIFY_RIGHT);
  gtk_box_pack_start(GTK_BOX(chooserRow), label, FALSE, FALSE, 10);
  GtkWidget* chooser = gtk_combo_box_new_text();
  gtk_box_pack_end(GTK_BOX(chooserRow), chooser, TRUE, TRUE, 10);
  g_signal_connect(chooser, "changed", G_CALLBACK(CBavailprinter_changed), nullptr);
  g_signal_connect(chooser, "destroy", G_CALLBACK(removeTimersOf), nullptr);
  fillChooser(chooser, pageBox);

  GtkWidget* scrolled = gtk_scrolled_window_new(nullptr, nullptr);
  gtk_scrolled_window_set_policy(GTK_SCROLLED_WINDOW(scrolled), GTK_POLICY_AUTOMATIC,
                                 GTK_POLICY_AUTOMATIC);
  gtk_container_add(GTK_CONTAINER(scrolled), makeJobTable());
  gtk_box_pack_start(GTK_BOX(pageBox), scrolled, TRUE, TRUE, 0);

  GtkWidget* buttonRow = gtk_hbox_new(TRUE, 0);
  gtk_box_pack_start(GTK_BOX(pageBox), buttonRow, FALSE, FALSE, 5);
  GtkWidget* refresh = packButton(buttonRow, _("Refresh"), G_CALLBACK(btnjobrefresh_clicked));
  gtk_widget_set_size_request(refresh, 90, 30);
  GtkWidget* deleteJob = packButton(buttonRow, _("Delete"), G_CALLBACK(btnjobdel_clicked));
  GtkWidget* deleteAll = packButton(buttonRow, _("Delete All"), G_CALLBACK(btnjobdel_all_clicked));
  offerOnlyToRoot({deleteJob, deleteAll});
  gtk_box_pack_start(GTK_BOX(buttonRow), gtk_fixed_new(), TRUE, TRUE, 0);
  packButton(buttonRow, _("Exit"), G_CALLBACK(window_destroyed));

  gtk_widget_show_all(pageBox);
}

void list_jobs(GtkWidget* CBprinter) {
  const std::string name = comboActiveText(CBprinter);
  GtkWidget* table = jobTableOf(jobsPageOfChooser(CBprinter));
  // In browse mode the toolkit selects row 0 by itself while the table is refilled; that is
  // not the user's choice, so it must not overwrite the remembered row.
  g_signal_handlers_block_by_func(table, reinterpret_cast<gpointer>(joblist_selected), nullptr);
  gtk_clist_clear(GTK_CLIST(table));
  // Root writes the listing only into a file it has just made itself (no planted symlink).
  if (claimTempFile(kQueueListingPath)) runCommand(lpqCommand(name));
  if (std::optional<std::string> report = readWholeFile(kQueueListingPath, true)) {
    gtk_clist_freeze(GTK_CLIST(table));
    for (const JobRow& row : parseQueueReport(*report)) {
      const gchar* cells[7];
      for (int i = 0; i < 7; ++i) cells[i] = row[static_cast<std::size_t>(i)].c_str();
      gtk_clist_append(GTK_CLIST(table), const_cast<gchar**>(cells));
    }
    gtk_clist_thaw(GTK_CLIST(table));
  }
  g_signal_handlers_unblock_by_func(table, reinterpret_cast<gpointer>(joblist_selected), nullptr);
  runCommand(std::string("rm ") + kQueueListingPath);
  selectRememberedRow(table);
  gtk_widget_grab_focus(CBprinter);
}

void tabpage_switched(GtkNotebook* notebook, GtkNotebookPage* /*page*/, guint page_num,
                      gpointer /*user_data*/) {
  // Also emitted while the pages are being added; only a switch to the Jobs page counts, and
  // the notebook's current page is not yet updated here.
  if (page_num != 1) return;
  GtkWidget* pageBox = jobsPageOfNotebook(GTK_WIDGET(notebook));
  if (pageBox == nullptr || !GTK_IS_CONTAINER(pageBox)) return;
  GtkWidget* chooser = jobsChooserOf(pageBox);
  if (chooser == nullptr || !GTK_IS_COMBO_BOX(chooser) || !hasPrinter(chooser)) return;
  list_jobs(chooser);
  g_timeout_add(kJobRefreshMs, showPRjobs, chooser);
}

gboolean showPRjobs(gpointer CBprt) {
  GtkWidget* chooser = GTK_WIDGET(CBprt);
  if (!jobsPageIsCurrent(chooser)) return FALSE;
  // A tick that falls due while a command runs (a slow lpq, say) skips; the next one lists.
  if (!commandRunning()) list_jobs(chooser);
  return TRUE;
}

void CBavailprinter_changed(GtkWidget* widget, gpointer /*data*/) {
  if (jobsPageIsCurrent(widget) && hasPrinter(widget)) list_jobs(widget);
}

void btnjobrefresh_clicked(GtkWidget* widget, gpointer /*data*/) {
  GtkWidget* chooser = jobsChooserOf(jobsPageOfButton(widget));
  if (hasPrinter(chooser)) list_jobs(chooser);
}

void btnjobdel_clicked(GtkWidget* widget, gpointer /*data*/) {
  GtkWidget* pageBox = jobsPageOfButton(widget);
  GtkWidget* chooser = jobsChooserOf(pageBox);
  GtkWidget* table = jobTableOf(pageBox);
  // No printer or no row at jrow_n: there is no job to name, so nothing is run.
  if (!hasPrinter(chooser) || jrow_n < 0 || jrow_n >= clistRows(table)) return;
  runCommand(lprmJobCommand(comboActiveText(chooser), clistCell(table, jrow_n, kJobId)));
  gtk_clist_remove(GTK_CLIST(table), jrow_n);
  list_jobs(chooser);
}

void btnjobdel_all_clicked(GtkWidget* widget, gpointer /*data*/) {
  GtkWidget* pageBox = jobsPageOfButton(widget);
  GtkWidget* chooser = jobsChooserOf(pageBox);
  if (!hasPrinter(chooser)) return;
  runCommand(lprmQueueCommand(comboActiveText(chooser)));
  gtk_clist_clear(GTK_CLIST(jobTableOf(pageBox)));
}

void joblist_selected(GtkWidget* /*widget*/, gint row, gint /*column*/, GdkEventButton* /*event*/,
                      gpointer /*data*/) {
  jrow_n = row;
}
