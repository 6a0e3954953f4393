#include "jobs/jobs_page.h"

#include <algorithm>
#include <functional>
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "app/child.h"
#include "app/i18n.h"
#include "app/rights.h"
#include "app/shell.h"
#include "app/startup.h"
#include "app/text.h"
#include "app/widgets.h"
#include "jobs/queue_actions.h"
#include "jobs/queue_report.h"
#include "printers/store_adapters.h"
#include "store/spooler.h"

int jrow_n = -1;

// page box > 1 chooser row
GtkWidget* jobsChooserRowOf(GtkWidget* pageBox) {
  return widgetAt(pageBox, {1});
}
// page box > 1 chooser row > 2 printer chooser (packed from the end, after the label)
GtkWidget* jobsChooserOf(GtkWidget* pageBox) {
  return widgetAt(pageBox, {1, 2});
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

// What the page knows between signals: its one refresh timer, the one command it runs at a
// time, and the job the administrator picked, by number (rows move as jobs print).
struct JobsState {
  guint timer = 0;
  std::unique_ptr<ChildRun> run;
  bool runIsAction = false;
  std::vector<std::string> names;  // the chooser's printers, as last taken from the table
  std::string job;                 // number of the job picked; empty: none
  QueueReport report;              // the last listing
};
const char* const kStateKey = "spm-jobs-state";

void deleteState(gpointer state) {
  delete static_cast<JobsState*>(state);
}

// Nothing while the page is still being built.
JobsState* findState(GtkWidget* chooser) {
  if (chooser == nullptr || !GTK_IS_COMBO_BOX(chooser)) return nullptr;
  return static_cast<JobsState*>(g_object_get_data(G_OBJECT(chooser), kStateKey));
}
JobsState& stateOf(GtkWidget* chooser) {
  return *findState(chooser);
}

bool jobsPageIsCurrent(GtkWidget* chooser) {
  GtkWidget* notebook = notebookOfChooser(chooser);
  return notebook != nullptr && GTK_IS_NOTEBOOK(notebook) &&
         gtk_notebook_get_current_page(GTK_NOTEBOOK(notebook)) == 1;
}

// The last listing told the queue's state: there is something to act on.
bool queueKnown(const QueueReport& report) {
  return report.state.reported && !report.state.unknownQueue;
}

bool hasPrinter(GtkWidget* chooser) {
  return gtk_combo_box_get_active(GTK_COMBO_BOX(chooser)) >= 0;
}

// A test (or anything else) may have taken the timer away already.
void removeTimer(guint& timer) {
  if (timer != 0 && g_main_context_find_source_by_id(nullptr, timer) != nullptr) {
    g_source_remove(timer);
  }
  timer = 0;
}

// The printer table of the Printers page (notebook page 0), which exists before this page.
GtkWidget* printerTableOfNotebook(GtkWidget* notebook) {
  if (notebook == nullptr || !GTK_IS_NOTEBOOK(notebook)) return nullptr;
  GtkWidget* printersPage = gtk_notebook_get_nth_page(GTK_NOTEBOOK(notebook), 0);
  if (printersPage == nullptr || !GTK_IS_CONTAINER(printersPage)) return nullptr;
  GtkWidget* table = printerTableOf(printersPage);
  return table != nullptr && GTK_IS_CLIST(table) ? table : nullptr;
}

// The host a network printer's queue is forwarded to; empty for a local queue.
std::string hostOf(GtkWidget* chooser, const std::string& name) {
  GtkWidget* table = printerTableOfNotebook(notebookOfChooser(chooser));
  if (table == nullptr) return {};
  const std::vector<std::string> names = clistColumn(table, kColName);
  const auto found = std::find(names.begin(), names.end(), name);
  if (found == names.end()) return {};
  const PrinterRow row = tableRow(table, static_cast<int>(found - names.begin()));
  return networkHost(row[kColType], row[kColDevice]);
}

// The chooser offers the printers of the table as they are now (they change on the Printers
// page, never while this page shows); the chosen one stays chosen while it exists, and where it
// is gone the printer now in its place (renamed, it is the same row) is chosen.
void syncChooser(GtkWidget* chooser) {
  JobsState& state = stateOf(chooser);
  GtkWidget* table = printerTableOfNotebook(notebookOfChooser(chooser));
  std::vector<std::string> names =
      table ? clistColumn(table, kColName) : std::vector<std::string>();
  if (names == state.names) return;
  const std::string chosen = comboActiveText(chooser);
  GtkComboBox* combo = GTK_COMBO_BOX(chooser);
  const int place = gtk_combo_box_get_active(combo);
  state.names = std::move(names);
  g_signal_handlers_block_by_func(chooser, reinterpret_cast<gpointer>(CBavailprinter_changed),
                                  nullptr);
  // Filled detached: an attached combo box rebuilds its menu for every row that arrives.
  GtkListStore* store = GTK_LIST_STORE(g_object_ref(gtk_combo_box_get_model(combo)));
  gtk_combo_box_set_model(combo, nullptr);
  gtk_list_store_clear(store);
  int row = 0, active = -1;
  for (const std::string& name : state.names) {
    if (active < 0 && name == chosen) active = row;
    gtk_list_store_insert_with_values(store, nullptr, row++, 0, name.c_str(), -1);
  }
  gtk_combo_box_set_model(combo, GTK_TREE_MODEL(store));
  g_object_unref(store);
  if (active < 0 && row > 0) active = place >= 0 && place < row ? place : 0;
  gtk_combo_box_set_active(combo, active);
  g_signal_handlers_unblock_by_func(chooser, reinterpret_cast<gpointer>(CBavailprinter_changed),
                                    nullptr);
  if (comboActiveText(chooser) != chosen) state.job.clear();  // a number names a job of one queue
}

GtkWidget* makeJobTable() {
  GtkWidget* table = gtk_clist_new(7);
  // TRANSLATORS: column title: the job's place in the queue.
  addPlistCol(kJobRank, 60, _("Rank"), table, 1, GTK_JUSTIFY_CENTER);
  addPlistCol(kJobOwner, 150, _("Owner"), table, 1, GTK_JUSTIFY_LEFT);
  // TRANSLATORS: column title: the one-letter job class that lpq shows.
  addPlistCol(kJobClass, 50, _("Class"), table, 1, GTK_JUSTIFY_CENTER);
  // TRANSLATORS: column title: the job's number.
  addPlistCol(kJobId, 50, _("Job ID"), table, 1, GTK_JUSTIFY_CENTER);
  addPlistCol(kJobFiles, 140, _("Files"), table, 1, GTK_JUSTIFY_LEFT);
  // TRANSLATORS: column title: the job's size in bytes.
  addPlistCol(kJobSize, 60, _("Size"), table, 1, GTK_JUSTIFY_LEFT);
  // TRANSLATORS: column title: when the job was queued.
  addPlistCol(kJobTime, 120, _("Time"), table, 1, GTK_JUSTIFY_LEFT);
  // Not browse: when the picked job has left the queue, no job may look picked.
  gtk_clist_set_selection_mode(GTK_CLIST(table), GTK_SELECTION_SINGLE);
  gtk_clist_column_titles_show(GTK_CLIST(table));
  g_signal_connect(table, "select_row", G_CALLBACK(joblist_selected), nullptr);
  g_signal_connect(table, "unselect_row", G_CALLBACK(joblist_unselected), nullptr);
  return table;
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
  if (state.unknownQueue) return _("No such queue");
  std::vector<std::string> parts;
  if (state.unreachable) parts.emplace_back(_("Spooler not running"));
  if (currentJobFinishing(report)) {
    parts.emplace_back(_("Printing paused, the current job is finishing"));
  } else if (state.printingDisabled) {
    parts.emplace_back(_("Printing paused"));
  }
  if (state.printingAborted) parts.emplace_back(_("Printing stopped by an error"));
  if (state.spoolingDisabled) parts.emplace_back(_("Not accepting jobs"));
  if (!state.redirect.empty()) {
    // TRANSLATORS: queue state line: %s is the queue the jobs are sent to instead.
    parts.push_back(formatted(_("Redirected to %s"), state.redirect.c_str()));
  }
  // TRANSLATORS: queue state line: the printer prints as it should.
  if (parts.empty()) parts.emplace_back(_("Ready"));
  // TRANSLATORS: queue state line: %d is the number of jobs in the queue.
  parts.push_back(formatted(_("Jobs: %d"), static_cast<int>(report.jobs.size())));
  // TRANSLATORS: queue state line: %d jobs are held and wait to be released.
  if (const int held = heldJobs(report.jobs)) parts.push_back(formatted(_("%d held"), held));
  std::string text;
  for (const std::string& part : parts) text += (text.empty() ? "" : "; ") + part;
  return text;
}

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

// Labels and sensitivity follow the last listing and the picked job: each toggle names what it
// will do next; the job actions want a picked job that is still queued.
void updateControls(GtkWidget* pageBox, const JobsState& state) {
  const QueueReport& report = state.report;
  const bool known = queueKnown(report);
  const bool paused = isPaused(report.state);
  GtkWidget* pause = actionButton(pageBox, printerActionRowOf, 1);
  GtkWidget* reject = actionButton(pageBox, printerActionRowOf, 2);
  // TRANSLATORS: acts on the whole queue, not on the picked job: printing goes on.
  setButtonLabel(pause, paused ? _("Resume Printer") : _("Pause Printer"));
  // TRANSLATORS: acts on the whole queue: it takes new jobs again.
  setButtonLabel(reject, report.state.spoolingDisabled ? _("Accept Jobs") : _("Reject Jobs"));
  for (int i = 1; i <= 3; ++i) {
    allowAction(actionButton(pageBox, printerActionRowOf, i), known);
  }
  const bool job = known && !state.job.empty() && jobQueued(report.jobs, state.job);
  allowAction(actionButton(pageBox, jobActionRowOf, 1), job);
  allowAction(actionButton(pageBox, jobActionRowOf, 2), job);
  allowAction(actionButton(pageBox, jobActionRowOf, 3), known && heldJobs(report.jobs) > 0);
  // lpc's topq starts a paused printer as well; it must not print behind the user's back.
  allowAction(actionButton(pageBox, jobActionRowOf, 4), job && !paused,
              job ? _("Print Next would start the paused printer: resume it first.") : nullptr);
  allowAction(actionButton(pageBox, jobActionRowOf, 5), job && state.names.size() > 1);
  allowAction(actionButton(pageBox, jobsButtonRowOf, 2), job);
  allowAction(actionButton(pageBox, jobsButtonRowOf, 3), known);
}

// Rows of buttons as wide as their words: a translation gets what a shorter neighbour leaves.
GtkWidget* packButtonRow(GtkWidget* pageBox, guint padding) {
  GtkWidget* row = gtk_hbox_new(FALSE, 0);
  gtk_box_pack_start(GTK_BOX(pageBox), row, FALSE, FALSE, padding);
  return row;
}

struct JobAction {
  const char* label;
  GCallback handler;
};

// The job actions on two lines, three over two, so that every language has room for its words.
// A table lists its children newest first: attached from the last, they count 1 Hold ...
// 5 Move To in reading order, as jobActionRowOf's paths say.
std::vector<GtkWidget*> packJobActions(GtkWidget* pageBox) {
  const JobAction actions[] = {
      // TRANSLATORS: a verb on a button: keep the selected job in the queue without printing it.
      {N_("Hold"), G_CALLBACK(btnjobhold_clicked)},
      // TRANSLATORS: a verb on a button: let the selected held job print.
      {N_("Release"), G_CALLBACK(btnjobrelease_clicked)},
      // TRANSLATORS: a button: let every held job of the queue print.
      {N_("Release All"), G_CALLBACK(btnjobrelease_all_clicked)},
      // TRANSLATORS: a button: move the selected job to the front of the queue.
      {N_("Print Next"), G_CALLBACK(btnjobtopq_clicked)},
      // TRANSLATORS: a button: move the selected job to another printer's queue.
      {N_("Move To..."), G_CALLBACK(btnjobmove_clicked)}};
  GtkWidget* table = gtk_table_new(2, 6, TRUE);
  gtk_box_pack_start(GTK_BOX(pageBox), table, FALSE, FALSE, 2);
  for (int i = 4; i >= 0; --i) {
    GtkWidget* button = gtk_button_new_with_label(_(actions[i].label));
    g_signal_connect(button, "clicked", actions[i].handler, nullptr);
    // Six columns: two for each of the first line's buttons, three for each of the second's.
    const guint left = i < 3 ? 2 * i : 3 * (i - 3), width = i < 3 ? 2 : 3, line = i < 3 ? 0 : 1;
    gtk_table_attach(GTK_TABLE(table), button, left, left + width, line, line + 1,
                     GtkAttachOptions(GTK_EXPAND | GTK_FILL), GTK_FILL, 0, 0);
  }
  std::vector<GtkWidget*> buttons;
  for (int i = 1; i <= 5; ++i) buttons.push_back(findWidget(table, nullptr, i));
  return buttons;
}

void packQueueControls(GtkWidget* pageBox, bool printers) {
  GtkWidget* state = gtk_label_new(nullptr);
  gtk_misc_set_alignment(GTK_MISC(state), 0, 0.5);
  // The state may say several things at once: in a long language it takes a second line
  // (from the job table's height) rather than run past the window's edge.
  gtk_label_set_line_wrap(GTK_LABEL(state), TRUE);
  gtk_widget_set_size_request(state, 470, -1);
  gtk_box_pack_start(GTK_BOX(pageBox), state, FALSE, FALSE, 2);
  GtkWidget* printerRow = packButtonRow(pageBox, 0);
  // TRANSLATORS: acts on the whole queue, not on the picked job: printing stops after the
  // current job.
  GtkWidget* pause = packButton(printerRow, _("Pause Printer"), G_CALLBACK(btnjobpause_clicked));
  // TRANSLATORS: acts on the whole queue: it takes no new jobs until they are accepted again.
  GtkWidget* reject = packButton(printerRow, _("Reject Jobs"), G_CALLBACK(btnjobreject_clicked));
  GtkWidget* redirect =
      // TRANSLATORS: acts on the whole queue: its jobs are sent on to another printer.
      packButton(printerRow, _("Redirect..."), G_CALLBACK(btnjobredirect_clicked));
  const std::vector<GtkWidget*> jobActions = packJobActions(pageBox);
  // Until the first listing (on entering the page) says what there is to act on: the printer,
  // if any, and no job.
  for (GtkWidget* button : {pause, reject, redirect}) gtk_widget_set_sensitive(button, printers);
  offerOnlyToRoot({pause, reject, redirect});
  for (GtkWidget* button : jobActions) {
    gtk_widget_set_sensitive(button, FALSE);
    offerOnlyToRoot({button});
  }
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
  std::vector<std::string> names = stateOf(chooser).names;
  const std::string shown = comboActiveText(chooser);
  names.erase(std::remove(names.begin(), names.end(), shown), names.end());
  return names;
}

void showActionFailure(const std::string& text) {
  showMessageDialog(_("Queue Control Failed"), markupEscape(text), "gtk-dialog-error");
}

// The job table holds what the listing found; the picked job stays picked wherever its row
// now is, and is dropped once it has left the queue.
void fillJobTable(GtkWidget* table, const JobsState& state) {
  const auto handlers = {reinterpret_cast<gpointer>(joblist_selected),
                         reinterpret_cast<gpointer>(joblist_unselected)};
  for (gpointer handler : handlers) g_signal_handlers_block_by_func(table, handler, nullptr);
  gtk_clist_freeze(GTK_CLIST(table));
  gtk_clist_clear(GTK_CLIST(table));
  int picked = -1;
  for (const JobRow& row : state.report.jobs) {
    const gchar* cells[7];
    for (int i = 0; i < 7; ++i) cells[i] = row[static_cast<std::size_t>(i)].c_str();
    const int added = gtk_clist_append(GTK_CLIST(table), const_cast<gchar**>(cells));
    if (picked < 0 && !state.job.empty() && row[kJobId] == state.job && row[kJobRank] != "done") {
      picked = added;
    }
  }
  gtk_clist_thaw(GTK_CLIST(table));
  for (gpointer handler : handlers) g_signal_handlers_unblock_by_func(table, handler, nullptr);
  jrow_n = -1;
  if (picked >= 0) gtk_clist_select_row(GTK_CLIST(table), picked, 0);
}

void showReport(GtkWidget* chooser, QueueReport report, const std::string& stateText = {}) {
  JobsState& state = stateOf(chooser);
  GtkWidget* pageBox = jobsPageOfChooser(chooser);
  state.report = std::move(report);
  if (!jobQueued(state.report.jobs, state.job)) state.job.clear();
  fillJobTable(jobTableOf(pageBox), state);
  setLabelText(jobsStateLabelOf(pageBox),
               stateText.empty() ? queueStateText(state.report) : stateText);
  updateControls(pageBox, state);
}

// No printer, or a queue nothing is known of: an empty table and every action off.
void showNothing(GtkWidget* chooser, const std::string& stateText) {
  showReport(chooser, QueueReport{}, stateText);
}

using AfterListing = std::function<void(GtkWidget* chooser, const QueueReport& report)>;

void queueListed(GtkWidget* chooser, const std::string& name, const ChildResult& result,
                 const AfterListing& then) {
  const std::unique_ptr<ChildRun> ended = std::move(stateOf(chooser).run);
  if (result.end == ChildEnd::kTimedOut) {
    showNothing(chooser, noAnswerText(hostOf(chooser, name)));
    return;
  }
  showReport(chooser, result.output ? parseQueueReport(*result.output) : QueueReport{});
  gtk_widget_grab_focus(chooser);
  const QueueReport& listed = stateOf(chooser).report;
  if (then && queueKnown(listed)) then(chooser, listed);
}

// Lists the chosen printer's queue as a watched child; then, once the listing has been read
// and tells the queue's state, goes on with then. A listing still running (another printer's)
// is given up; while an action runs, the action lists when it is done.
void listQueue(GtkWidget* chooser, const AfterListing& then = {}) {
  JobsState& state = stateOf(chooser);
  const std::string name = comboActiveText(chooser);
  if (name.empty() || (state.run && state.runIsAction)) return;
  state.run.reset();  // first: it would remove the listing file that the next one writes
  state.runIsAction = false;
  state.run = ChildRun::start(lpqCommand(name), kQueueListingPath,
                              [chooser, name, then](const ChildResult& result) {
                                queueListed(chooser, name, result, then);
                              });
}

void actionDone(GtkWidget* chooser, const std::string& name, const ChildResult& result,
                bool lpcReply) {
  JobsState& state = stateOf(chooser);
  const std::unique_ptr<ChildRun> ended = std::move(state.run);
  state.runIsAction = false;
  if (result.end == ChildEnd::kTimedOut) {
    setLabelText(jobsStateLabelOf(jobsPageOfChooser(chooser)), noAnswerText(hostOf(chooser, name)));
    return;
  }
  const auto refusal = lpcReply ? lpcRefusal(result.output.value_or("")) : std::nullopt;
  if (refusal) showActionFailure(refusal->empty() ? _("lpc gave no answer.") : *refusal);
  if (jobsPageIsCurrent(chooser)) list_jobs(chooser);
}

// Runs one action line as a watched child; where lpcReply, says where lpc refused it in lpc's
// own words. Then lists the queue again.
void runQueueAction(GtkWidget* chooser, const std::string& line, bool lpcReply) {
  JobsState& state = stateOf(chooser);
  state.run.reset();
  state.runIsAction = true;
  const std::string name = comboActiveText(chooser);
  state.run = ChildRun::start(line, lpcReply ? kLpcReplyPath : "",
                              [chooser, name, lpcReply](const ChildResult& result) {
                                actionDone(chooser, name, result, lpcReply);
                              });
}

// The chooser of the page a button is on, when it names a printer and no action is running
// (a second one waits for nothing: the first lists the queue when it is done).
GtkWidget* chooserForAction(GtkWidget* button) {
  GtkWidget* chooser = jobsChooserOf(jobsPageOfButton(button));
  const JobsState& state = stateOf(chooser);
  return hasPrinter(chooser) && !(state.run && state.runIsAction) ? chooser : nullptr;
}

// The picked job's number. Only the number ever reaches a command line (owner and file names
// came from whoever queued the job); anything but digits is refused before a command runs.
std::optional<std::string> pickedJobNumber(GtkWidget* chooser) {
  const std::string& id = stateOf(chooser).job;
  if (id.empty()) return std::nullopt;
  if (isJobNumber(id)) return id;
  showActionFailure(formatted(_("The job '%s' has no job number the spooler could be given; "
                                "nothing was changed."),
                              id.c_str()));
  return std::nullopt;
}

using JobLine = std::function<std::string(const std::string& printer, const std::string& job)>;

// Acts on job only when a fresh listing still has it queued: rows move as jobs print, and a
// job number the spooler no longer has could by now be reused.
void actOnJob(GtkWidget* chooser, const std::string& job, const JobLine& lineFor, bool lpcReply) {
  listQueue(chooser, [job, lineFor, lpcReply](GtkWidget* listed, const QueueReport& report) {
    if (!jobQueued(report.jobs, job)) {
      showActionFailure(
          formatted(_("Job %s is no longer in the queue; nothing was changed."), job.c_str()));
      return;
    }
    runQueueAction(listed, lineFor(comboActiveText(listed), job), lpcReply);
  });
}

// A job action on the picked job: "lpc VERB NAME JOB".
void runJobAction(GtkWidget* button, const char* verb) {
  GtkWidget* chooser = chooserForAction(button);
  if (chooser == nullptr) return;
  if (const auto job = pickedJobNumber(chooser)) {
    actOnJob(
        chooser, *job,
        [verb](const std::string& printer, const std::string& id) {
          return lpcCommand(verb, printer, {id});
        },
        true);
  }
}

// A printer action whose button names what it does next: verb when labelled label, else other.
void runToggleAction(GtkWidget* button, const char* label, const char* verb, const char* other) {
  GtkWidget* chooser = chooserForAction(button);
  if (chooser == nullptr) return;
  const bool first = std::string(gtk_button_get_label(GTK_BUTTON(button))) == label;
  runQueueAction(chooser, lpcCommand(first ? verb : other, comboActiveText(chooser)), true);
}

// Whatever the page still runs or has due goes with the page.
void CBavailprinter_destroyed(GtkWidget* chooser, gpointer /*data*/) {
  if (JobsState* state = findState(chooser)) {
    removeTimer(state->timer);
    state->run.reset();
  }
}

void enterJobsPage(GtkWidget* chooser) {
  JobsState& state = stateOf(chooser);
  syncChooser(chooser);
  if (!hasPrinter(chooser)) {
    showNothing(chooser, "");
    return;
  }
  list_jobs(chooser);
  if (state.timer == 0) state.timer = g_timeout_add(kJobRefreshMs, showPRjobs, chooser);
}

// Nothing lists while another page shows; an action under way still ends as it would.
void leaveJobsPage(GtkWidget* chooser) {
  JobsState& state = stateOf(chooser);
  removeTimer(state.timer);
  if (!state.runIsAction) state.run.reset();
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
  g_object_set_data_full(G_OBJECT(chooser), kStateKey, new JobsState, deleteState);
  g_signal_connect(chooser, "changed", G_CALLBACK(CBavailprinter_changed), nullptr);
  g_signal_connect(chooser, "destroy", G_CALLBACK(CBavailprinter_destroyed), nullptr);

  GtkWidget* scrolled = gtk_scrolled_window_new(nullptr, nullptr);
  gtk_scrolled_window_set_policy(GTK_SCROLLED_WINDOW(scrolled), GTK_POLICY_AUTOMATIC,
                                 GTK_POLICY_AUTOMATIC);
  gtk_container_add(GTK_CONTAINER(scrolled), makeJobTable());
  gtk_box_pack_start(GTK_BOX(pageBox), scrolled, TRUE, TRUE, 0);

  GtkWidget* buttonRow = packButtonRow(pageBox, 5);
  GtkWidget* refresh = packButton(buttonRow, _("Refresh"), G_CALLBACK(btnjobrefresh_clicked));
  gtk_widget_set_size_request(refresh, 90, 30);
  GtkWidget* deleteJob = packButton(buttonRow, _("Delete"), G_CALLBACK(btnjobdel_clicked));
  GtkWidget* deleteAll = packButton(buttonRow, _("Delete All"), G_CALLBACK(btnjobdel_all_clicked));
  offerOnlyToRoot({deleteJob, deleteAll});
  gtk_box_pack_start(GTK_BOX(buttonRow), gtk_fixed_new(), TRUE, TRUE, 0);
  packButton(buttonRow, _("Exit"), G_CALLBACK(window_destroyed));
  GtkWidget* printerTable = printerTableOfNotebook(gtk_widget_get_parent(pageBox));
  packQueueControls(pageBox, printerTable != nullptr && clistRows(printerTable) > 0);

  gtk_widget_show_all(pageBox);
}

void list_jobs(GtkWidget* CBprinter) {
  listQueue(CBprinter);
}

void tabpage_switched(GtkNotebook* notebook, GtkNotebookPage* /*page*/, guint page_num,
                      gpointer /*user_data*/) {
  // Also emitted while the pages are being added, before this page exists; the notebook's
  // current page is not yet updated here.
  GtkWidget* pageBox = jobsPageOfNotebook(GTK_WIDGET(notebook));
  if (pageBox == nullptr || !GTK_IS_CONTAINER(pageBox)) return;
  GtkWidget* chooser = jobsChooserOf(pageBox);
  if (findState(chooser) == nullptr) return;
  if (page_num == 1) {
    enterJobsPage(chooser);
  } else {
    leaveJobsPage(chooser);
  }
}

gboolean showPRjobs(gpointer CBprt) {
  GtkWidget* chooser = GTK_WIDGET(CBprt);
  JobsState& state = stateOf(chooser);
  if (!jobsPageIsCurrent(chooser)) {
    state.timer = 0;
    return FALSE;
  }
  // A tick that falls due while a command runs (a slow lpq, say) starts none; the next lists.
  // The printers change only on the Printers page: the chooser was brought up to date when this
  // page was entered, and the timer runs only when it named a printer.
  if (!state.run && !commandRunning()) list_jobs(chooser);
  return TRUE;
}

void CBavailprinter_changed(GtkWidget* widget, gpointer /*data*/) {
  if (findState(widget) == nullptr || !jobsPageIsCurrent(widget) || !hasPrinter(widget)) return;
  stateOf(widget).job.clear();  // a job number names a job of one queue only
  list_jobs(widget);
}

void btnjobrefresh_clicked(GtkWidget* widget, gpointer /*data*/) {
  GtkWidget* chooser = jobsChooserOf(jobsPageOfButton(widget));
  if (hasPrinter(chooser)) list_jobs(chooser);
}

void btnjobdel_clicked(GtkWidget* widget, gpointer /*data*/) {
  GtkWidget* chooser = chooserForAction(widget);
  if (chooser == nullptr) return;
  if (const auto job = pickedJobNumber(chooser)) actOnJob(chooser, *job, lprmJobCommand, false);
}

void btnjobdel_all_clicked(GtkWidget* widget, gpointer /*data*/) {
  if (GtkWidget* chooser = chooserForAction(widget)) {
    runQueueAction(chooser, lprmQueueCommand(comboActiveText(chooser)), false);
  }
}

void btnjobpause_clicked(GtkWidget* widget, gpointer /*data*/) {
  runToggleAction(widget, _("Pause Printer"), "stop", "start");
}

void btnjobreject_clicked(GtkWidget* widget, gpointer /*data*/) {
  runToggleAction(widget, _("Reject Jobs"), "disable", "enable");
}

void btnjobredirect_clicked(GtkWidget* widget, gpointer /*data*/) {
  GtkWidget* chooser = chooserForAction(widget);
  if (chooser == nullptr) return;
  const std::string name = comboActiveText(chooser);
  std::vector<std::string> choices = otherPrinters(chooser);
  // TRANSLATORS: a choice in the Redirect list: stop redirecting the queue.
  const char* const noRedirect = _("No redirect");
  choices.emplace_back(noRedirect);
  // A redirected queue offers its end first.
  const bool redirected = !stateOf(chooser).report.state.redirect.empty();
  const auto target =
      askChoice(_("Redirect Printer"), formatted(_("Send the jobs of '%s' to:"), name.c_str()),
                choices, redirected ? static_cast<int>(choices.size()) - 1 : 0);
  if (!target) return;
  runQueueAction(chooser, lpcCommand("redirect", name, {*target == noRedirect ? "off" : *target}),
                 true);
}

void btnjobhold_clicked(GtkWidget* widget, gpointer /*data*/) {
  runJobAction(widget, "hold");
}

void btnjobrelease_clicked(GtkWidget* widget, gpointer /*data*/) {
  runJobAction(widget, "release");
}

void btnjobrelease_all_clicked(GtkWidget* widget, gpointer /*data*/) {
  if (GtkWidget* chooser = chooserForAction(widget)) {
    runQueueAction(chooser, lpcCommand("release", comboActiveText(chooser), {"all"}), true);
  }
}

void btnjobtopq_clicked(GtkWidget* widget, gpointer /*data*/) {
  runJobAction(widget, "topq");
}

void btnjobmove_clicked(GtkWidget* widget, gpointer /*data*/) {
  GtkWidget* chooser = chooserForAction(widget);
  if (chooser == nullptr) return;
  const auto job = pickedJobNumber(chooser);
  if (!job) return;
  const std::string name = comboActiveText(chooser);
  const std::string question = formatted(_("Move job %s of '%s' to:"), *job, name);
  const auto target = askChoice(_("Move Job"), question, otherPrinters(chooser), 0);
  if (!target) return;
  actOnJob(
      chooser, *job,
      [target = *target](const std::string& printer, const std::string& id) {
        return lpcCommand("move", printer, {id, target});
      },
      true);
}

void joblist_selected(GtkWidget* widget, gint row, gint /*column*/, GdkEventButton* /*event*/,
                      gpointer /*data*/) {
  GtkWidget* chooser = jobsChooserOf(ancestor(widget, 2));
  JobsState& state = stateOf(chooser);
  jrow_n = row;
  state.job = clistCell(widget, row, kJobId);
  updateControls(ancestor(widget, 2), state);
}

void joblist_unselected(GtkWidget* widget, gint /*row*/, gint /*column*/, GdkEventButton* /*event*/,
                        gpointer /*data*/) {
  GtkWidget* chooser = jobsChooserOf(ancestor(widget, 2));
  JobsState& state = stateOf(chooser);
  jrow_n = -1;
  state.job.clear();
  updateControls(ancestor(widget, 2), state);
}
