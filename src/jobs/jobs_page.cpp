#include "jobs/jobs_page.h"

#include <algorithm>
#include <optional>
#include <string>
#include <vector>

#include "app/i18n.h"
#include "app/output.h"
#include "app/rights.h"
#include "app/shell.h"
#include "app/startup.h"
#include "app/widgets.h"
#include "jobs/queue_actions.h"
#include "jobs/queue_report.h"
#include "printers/store_adapters.h"
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
// page box > 4 the queue's state in words
GtkWidget* jobsStateLabelOf(GtkWidget* pageBox) {
  return widgetAt(pageBox, {4});
}
// page box > 5 printer actions: 1 Pause/Resume Printer, 2 Reject/Accept Jobs, 3 Redirect...
GtkWidget* printerActionRowOf(GtkWidget* pageBox) {
  return widgetAt(pageBox, {5});
}
// page box > 6 job actions: 1 Hold, 2 Release, 3 Release All, 4 Print Next, 5 Move To...
GtkWidget* jobActionRowOf(GtkWidget* pageBox) {
  return widgetAt(pageBox, {6});
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

// The line below the job table: what the report says about the queue, in words.
std::string queueStateText(const QueueReport& report) {
  const QueueState& state = report.state;
  // No lpq, or a report without its first line: nothing may be claimed, not even "Ready".
  if (!state.reported) return _("No queue report");
  std::vector<std::string> parts;
  if (state.unreachable) parts.emplace_back(_("Spooler not running"));
  if (state.printingDisabled) parts.emplace_back(_("Printing paused"));
  if (state.printingAborted) parts.emplace_back(_("Printing stopped by an error"));
  if (state.spoolingDisabled) parts.emplace_back(_("Not accepting jobs"));
  if (!state.redirect.empty()) {
    parts.push_back(formatted(_("Redirected to %s"), state.redirect.c_str()));
  }
  if (parts.empty()) parts.emplace_back(_("Ready"));
  parts.push_back(formatted(_("Jobs: %d"), static_cast<int>(report.jobs.size())));
  if (const int held = heldJobs(report.jobs)) parts.push_back(formatted(_("%d held"), held));
  std::string text;
  for (const std::string& part : parts) text += (text.empty() ? "" : "; ") + part;
  return text;
}

// Set on "Redirect..." while the listed queue is redirected.
const char* const kRedirectedKey = "spm-redirected";

bool isPaused(const QueueState& state) {
  return state.printingDisabled || state.printingAborted;
}

GtkWidget* actionButton(GtkWidget* pageBox, GtkWidget* (*rowOf)(GtkWidget*), int index) {
  return findWidget(rowOf(pageBox), nullptr, index);
}

// Without root the buttons stay as offerOnlyToRoot left them: insensitive, saying why.
void allowAction(GtkWidget* button, bool can, const char* whyNot = nullptr) {
  if (!canChangeSystem()) return;
  gtk_widget_set_sensitive(button, can);
  gtk_widget_set_tooltip_text(button, can ? nullptr : whyNot);
}

// A new text only where it differs: every setting asks for a new size, every 5 seconds.
void setLabelText(GtkWidget* label, const std::string& text) {
  if (text != gtk_label_get_text(GTK_LABEL(label)))
    gtk_label_set_text(GTK_LABEL(label), text.c_str());
}
void setButtonLabel(GtkWidget* button, const std::string& text) {
  if (text != gtk_button_get_label(GTK_BUTTON(button))) {
    gtk_button_set_label(GTK_BUTTON(button), text.c_str());
  }
}

// Labels and sensitivity follow the state just read: each toggle names what it will do next.
void showQueueState(GtkWidget* pageBox, const QueueReport& report, bool printer, int printers) {
  setLabelText(jobsStateLabelOf(pageBox), queueStateText(report));
  const bool paused = isPaused(report.state);
  GtkWidget* pause = actionButton(pageBox, printerActionRowOf, 1);
  GtkWidget* reject = actionButton(pageBox, printerActionRowOf, 2);
  setButtonLabel(pause, paused ? _("Resume Printer") : _("Pause Printer"));
  setButtonLabel(reject, report.state.spoolingDisabled ? _("Accept Jobs") : _("Reject Jobs"));
  for (int i = 1; i <= 3; ++i) allowAction(actionButton(pageBox, printerActionRowOf, i), printer);
  g_object_set_data(G_OBJECT(actionButton(pageBox, printerActionRowOf, 3)), kRedirectedKey,
                    GINT_TO_POINTER(!report.state.redirect.empty()));
  const bool job = printer && !report.jobs.empty();
  allowAction(actionButton(pageBox, jobActionRowOf, 1), job);
  allowAction(actionButton(pageBox, jobActionRowOf, 2), job);
  allowAction(actionButton(pageBox, jobActionRowOf, 3), printer && heldJobs(report.jobs) > 0);
  // lpc's topq starts a paused printer as well; it must not print behind the user's back.
  allowAction(actionButton(pageBox, jobActionRowOf, 4), job && !paused,
              job ? _("Print Next would start the paused printer: resume it first.") : nullptr);
  allowAction(actionButton(pageBox, jobActionRowOf, 5), job && printers > 1);
}

void packQueueControls(GtkWidget* pageBox, bool printers) {
  GtkWidget* state = gtk_label_new(nullptr);
  gtk_misc_set_alignment(GTK_MISC(state), 0, 0.5);
  gtk_box_pack_start(GTK_BOX(pageBox), state, FALSE, FALSE, 5);
  GtkWidget* printerRow = gtk_hbox_new(TRUE, 0);
  gtk_box_pack_start(GTK_BOX(pageBox), printerRow, FALSE, FALSE, 0);
  GtkWidget* pause = packButton(printerRow, _("Pause Printer"), G_CALLBACK(btnjobpause_clicked));
  GtkWidget* reject = packButton(printerRow, _("Reject Jobs"), G_CALLBACK(btnjobreject_clicked));
  GtkWidget* redirect =
      packButton(printerRow, _("Redirect..."), G_CALLBACK(btnjobredirect_clicked));
  GtkWidget* jobRow = gtk_hbox_new(TRUE, 0);
  gtk_box_pack_start(GTK_BOX(pageBox), jobRow, FALSE, FALSE, 5);
  GtkWidget* hold = packButton(jobRow, _("Hold"), G_CALLBACK(btnjobhold_clicked));
  GtkWidget* release = packButton(jobRow, _("Release"), G_CALLBACK(btnjobrelease_clicked));
  GtkWidget* releaseAll =
      packButton(jobRow, _("Release All"), G_CALLBACK(btnjobrelease_all_clicked));
  GtkWidget* topq = packButton(jobRow, _("Print Next"), G_CALLBACK(btnjobtopq_clicked));
  GtkWidget* move = packButton(jobRow, _("Move To..."), G_CALLBACK(btnjobmove_clicked));
  // Until a listing says what there is to act on: the printer, if any, and no job.
  for (GtkWidget* button : {pause, reject, redirect}) gtk_widget_set_sensitive(button, printers);
  for (GtkWidget* button : {hold, release, releaseAll, topq, move}) {
    gtk_widget_set_sensitive(button, FALSE);
  }
  offerOnlyToRoot({pause, reject, redirect, hold, release, releaseAll, topq, move});
}

std::vector<std::string> chooserNames(GtkWidget* chooser) {
  std::vector<std::string> names;
  GtkTreeModel* model = gtk_combo_box_get_model(GTK_COMBO_BOX(chooser));
  GtkTreeIter iter;
  for (gboolean more = gtk_tree_model_get_iter_first(model, &iter); more;
       more = gtk_tree_model_iter_next(model, &iter)) {
    gchar* name = nullptr;
    gtk_tree_model_get(model, &iter, 0, &name, -1);
    names.emplace_back(takeGStr(name).get());
  }
  return names;
}

// A small modal question: which of choices (preselected first). Nothing on Cancel.
std::optional<std::string> askChoice(const std::string& title, const std::string& question,
                                     const std::vector<std::string>& choices, int preselected) {
  GtkWidget* dialog = gtk_dialog_new_with_buttons(
      title.c_str(), nullptr, GtkDialogFlags(GTK_DIALOG_MODAL | GTK_DIALOG_DESTROY_WITH_PARENT),
      _("_Cancel"), GTK_RESPONSE_REJECT, _("_Ok"), GTK_RESPONSE_ACCEPT, nullptr);
  gtk_window_set_position(GTK_WINDOW(dialog), GTK_WIN_POS_CENTER_ALWAYS);
  GtkWidget* box = gtk_vbox_new(FALSE, 10);
  gtk_container_set_border_width(GTK_CONTAINER(box), 10);
  gtk_box_pack_start(GTK_BOX(box), gtk_label_new(question.c_str()), FALSE, FALSE, 0);
  GtkWidget* combo = gtk_combo_box_new_text();
  for (const std::string& choice : choices) {
    gtk_combo_box_append_text(GTK_COMBO_BOX(combo), choice.c_str());
  }
  gtk_combo_box_set_active(GTK_COMBO_BOX(combo), preselected);
  gtk_box_pack_start(GTK_BOX(box), combo, FALSE, FALSE, 0);
  gtk_box_pack_start(GTK_BOX(GTK_DIALOG(dialog)->vbox), box, TRUE, TRUE, 0);
  gtk_widget_show_all(box);
  std::optional<std::string> chosen;
  if (gtk_dialog_run(GTK_DIALOG(dialog)) == GTK_RESPONSE_ACCEPT) {
    const int index = gtk_combo_box_get_active(GTK_COMBO_BOX(combo));
    if (index >= 0) chosen = choices[static_cast<std::size_t>(index)];
  }
  gtk_widget_destroy(dialog);
  return chosen;
}

// The chooser's printers other than the one shown.
std::vector<std::string> otherPrinters(GtkWidget* chooser) {
  std::vector<std::string> names = chooserNames(chooser);
  const std::string shown = comboActiveText(chooser);
  names.erase(std::remove(names.begin(), names.end(), shown), names.end());
  return names;
}

void showActionFailure(const std::string& text) {
  showMessageDialog(_("Queue Control Failed"), markupEscape(text), "gtk-dialog-error");
}

// Runs one lpc line, says where lpc refused it in lpc's own words, and lists the queue again.
void runQueueAction(GtkWidget* chooser, const std::string& line) {
  const std::optional<std::string> reply = commandOutput(line, kLpcReplyPath);
  if (const auto refusal = lpcRefusal(reply.value_or(""))) {
    showActionFailure(refusal->empty() ? _("lpc gave no answer.") : *refusal);
  }
  list_jobs(chooser);
}

// The chooser of the page a button is on, when it names a printer.
GtkWidget* printerChooserOf(GtkWidget* button) {
  GtkWidget* chooser = jobsChooserOf(jobsPageOfButton(button));
  return hasPrinter(chooser) ? chooser : nullptr;
}

// The selected job's number. Only the number ever reaches a command line (owner and file names
// came from whoever queued the job); anything but digits is refused before a command runs.
std::optional<std::string> selectedJobNumber(GtkWidget* button) {
  GtkWidget* table = jobTableOf(jobsPageOfButton(button));
  if (jrow_n < 0 || jrow_n >= clistRows(table)) return std::nullopt;
  const std::string id = clistCell(table, jrow_n, kJobId);
  if (isJobNumber(id)) return id;
  showActionFailure(formatted(_("The job '%s' has no job number the spooler could be given; "
                                "nothing was changed."),
                              id.c_str()));
  return std::nullopt;
}

// A job action on the selected job: "lpc VERB NAME JOB".
void runJobAction(GtkWidget* button, const char* verb) {
  GtkWidget* chooser = printerChooserOf(button);
  if (chooser == nullptr) return;
  if (const auto job = selectedJobNumber(button)) {
    runQueueAction(chooser, lpcCommand(verb, comboActiveText(chooser), {*job}));
  }
}

// A printer action whose button names what it does next: verb when labelled label, else other.
void runToggleAction(GtkWidget* button, const char* label, const char* verb, const char* other) {
  GtkWidget* chooser = printerChooserOf(button);
  if (chooser == nullptr) return;
  const bool first = std::string(gtk_button_get_label(GTK_BUTTON(button))) == label;
  runQueueAction(chooser, lpcCommand(first ? verb : other, comboActiveText(chooser)));
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
  const auto* names =
      static_cast<PrinterNames*>(g_object_get_data(G_OBJECT(chooser), kWaitingNames));
  packQueueControls(pageBox, names != nullptr && !names->empty());

  gtk_widget_show_all(pageBox);
}

void list_jobs(GtkWidget* CBprinter) {
  const std::string name = comboActiveText(CBprinter);
  GtkWidget* pageBox = jobsPageOfChooser(CBprinter);
  GtkWidget* table = jobTableOf(pageBox);
  // In browse mode the toolkit selects row 0 by itself while the table is refilled; that is
  // not the user's choice, so it must not overwrite the remembered row.
  g_signal_handlers_block_by_func(table, reinterpret_cast<gpointer>(joblist_selected), nullptr);
  gtk_clist_clear(GTK_CLIST(table));
  QueueReport report;
  if (const std::optional<std::string> text = commandOutput(lpqCommand(name), kQueueListingPath)) {
    report = parseQueueReport(*text);
    gtk_clist_freeze(GTK_CLIST(table));
    for (const JobRow& row : report.jobs) {
      const gchar* cells[7];
      for (int i = 0; i < 7; ++i) cells[i] = row[static_cast<std::size_t>(i)].c_str();
      gtk_clist_append(GTK_CLIST(table), const_cast<gchar**>(cells));
    }
    gtk_clist_thaw(GTK_CLIST(table));
  }
  g_signal_handlers_unblock_by_func(table, reinterpret_cast<gpointer>(joblist_selected), nullptr);
  selectRememberedRow(table);
  showQueueState(
      pageBox, report, !name.empty(),
      gtk_tree_model_iter_n_children(gtk_combo_box_get_model(GTK_COMBO_BOX(CBprinter)), nullptr));
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

void btnjobpause_clicked(GtkWidget* widget, gpointer /*data*/) {
  runToggleAction(widget, _("Pause Printer"), "stop", "start");
}

void btnjobreject_clicked(GtkWidget* widget, gpointer /*data*/) {
  runToggleAction(widget, _("Reject Jobs"), "disable", "enable");
}

void btnjobredirect_clicked(GtkWidget* widget, gpointer /*data*/) {
  GtkWidget* chooser = printerChooserOf(widget);
  if (chooser == nullptr) return;
  const std::string name = comboActiveText(chooser);
  std::vector<std::string> choices = otherPrinters(chooser);
  const char* const noRedirect = _("No redirect");
  choices.emplace_back(noRedirect);
  // A redirected queue offers its end first.
  const bool redirected = g_object_get_data(G_OBJECT(widget), kRedirectedKey) != nullptr;
  const auto target =
      askChoice(_("Redirect Printer"), formatted(_("Send the jobs of '%s' to:"), name.c_str()),
                choices, redirected ? static_cast<int>(choices.size()) - 1 : 0);
  if (!target) return;
  runQueueAction(chooser, lpcCommand("redirect", name, {*target == noRedirect ? "off" : *target}));
}

void btnjobhold_clicked(GtkWidget* widget, gpointer /*data*/) {
  runJobAction(widget, "hold");
}

void btnjobrelease_clicked(GtkWidget* widget, gpointer /*data*/) {
  runJobAction(widget, "release");
}

void btnjobrelease_all_clicked(GtkWidget* widget, gpointer /*data*/) {
  if (GtkWidget* chooser = printerChooserOf(widget)) {
    runQueueAction(chooser, lpcCommand("release", comboActiveText(chooser), {"all"}));
  }
}

void btnjobtopq_clicked(GtkWidget* widget, gpointer /*data*/) {
  runJobAction(widget, "topq");
}

void btnjobmove_clicked(GtkWidget* widget, gpointer /*data*/) {
  GtkWidget* chooser = printerChooserOf(widget);
  if (chooser == nullptr) return;
  const auto job = selectedJobNumber(widget);
  if (!job) return;
  const std::string name = comboActiveText(chooser);
  const std::string question = formatted(_("Move job %s of '%s' to:"), *job, name);
  if (const auto target = askChoice(_("Move Job"), question, otherPrinters(chooser), 0)) {
    runQueueAction(chooser, lpcCommand("move", name, {*job, *target}));
  }
}

void joblist_selected(GtkWidget* /*widget*/, gint row, gint /*column*/, GdkEventButton* /*event*/,
                      gpointer /*data*/) {
  jrow_n = row;
}
