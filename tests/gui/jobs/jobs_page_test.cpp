// The Jobs page with the spooler stood in: lines recorded, lpq leaving a report.
#include "jobs_window.h"
#include "store/spooler.h"

namespace {
// Lets every refresh timer of the chooser tick now, once; how many ended (-1: one lived on).
int tickTimers(GtkWidget* chooser) {
  int timers = 0, turn = 0;
  for (GSource* timer; (timer = g_main_context_find_source_by_user_data(nullptr, chooser));
       ++timers) {
    g_source_set_ready_time(timer, 0);
    for (turn = 0; turn < 100 && timer == g_main_context_find_source_by_user_data(nullptr, chooser);
         ++turn)
      g_main_context_iteration(nullptr, FALSE);
    if (turn == 100) return -1;
  }
  return timers;
}
}  // namespace

TEST(JobsPage, ChooserSwitchTimersAndDeletes) {
  writeFile("/etc/printcap", "office:lp=/dev/lp0:\no'x:lp=/dev/lp0:\n");
  std::string report = "Rank Pr/Class\n1st r A 78 a 1 7:03\n2nd anna A 80;x b 2 7:04\n";
  Lines lines;
  setCommandObserver([&](const std::string& line) {
    lines.push_back(line);
    if (line.rfind("lpq ", 0) == 0) writeFile("/tmp/lprqueue", report);
    return true;
  });
  jrow_n = 0;
  GtkWidget* window = buildJobsWindow();
  GtkNotebook* notebook = GTK_NOTEBOOK(mainNotebookOf(window));
  GtkWidget* chooser = widgetAt(pageOf(window, 1), {1, 2});  // its rows are made when first used
  GtkWidget* table = jobTableOf(pageOf(window, 1));
  // A printer added before the first switch stays out of the chooser.
  const gchar* late[kPrinterColumns] = {"", "late", "", "", "", "", "", "", ""};
  gtk_clist_append(GTK_CLIST(printerTableOf(pageOf(window, 0))), const_cast<gchar**>(late));
  lines.clear();
  gtk_notebook_set_current_page(notebook, 1);
  EXPECT_EQ(
      gtk_tree_model_iter_n_children(gtk_combo_box_get_model(GTK_COMBO_BOX(chooser)), nullptr), 2);
  const gint64 due =
      g_source_get_ready_time(g_main_context_find_source_by_user_data(nullptr, chooser)) -
      g_get_monotonic_time();
  EXPECT_TRUE(due > 4500 * G_TIME_SPAN_MILLISECOND && due <= 5000 * G_TIME_SPAN_MILLISECOND);
  // Another printer is listed at once only on the page. Back within 5 s: two timers, which
  // end at their first tick after leaving, listing nothing.
  gtk_notebook_set_current_page(notebook, 0);
  gtk_combo_box_set_active(GTK_COMBO_BOX(chooser), 1);
  gtk_notebook_set_current_page(notebook, 1);
  gtk_combo_box_set_active(GTK_COMBO_BOX(chooser), 0);
  gtk_notebook_set_current_page(notebook, 0);
  EXPECT_EQ(tickTimers(chooser), 2);
  // The selected job stays selected across a refresh. Delete: the chosen printer and the
  // selected job, quoted, then a listing; one that shrank under the selected last row selects
  // the new last row, which the next Delete takes. Delete All; then Delete with no rows: nothing.
  gtk_combo_box_set_active(GTK_COMBO_BOX(chooser), 1);
  gtk_notebook_set_current_page(notebook, 1);
  gtk_clist_select_row(GTK_CLIST(table), 1, 0);
  click(jobsButton(window, 1));
  EXPECT_EQ(jrow_n * 10 + GPOINTER_TO_INT(GTK_CLIST(table)->selection->data), 11);
  DialogLog log;  // job "80;x" has no number: Hold runs nothing and says why
  click(findWidget(jobActionRowOf(pageOf(window, 1)), nullptr, 1));
  EXPECT_EQ(log.text(),
            "Queue Control Failed: The job '80;x' has no job number the spooler "
            "could be given; nothing was changed.\n");
  report.resize(34);  // job 78 alone
  click(jobsButton(window, 2));
  EXPECT_EQ(jrow_n * 10 + GPOINTER_TO_INT(GTK_CLIST(table)->selection->data), 0);
  click(jobsButton(window, 2));
  click(jobsButton(window, 3));
  click(jobsButton(window, 2));
  EXPECT_EQ(lines, goldenLines("jobs.lines"));  // every listing, deletion and none more
  EXPECT_EQ(clistRows(table), 0);
  gtk_widget_destroy(window);  // takes the timers along
  EXPECT_EQ(g_main_context_find_source_by_user_data(nullptr, chooser), nullptr);
  setCommandObserver(nullptr);
}

namespace {
GtkWidget* page;  // the Jobs page box of the window under test
void press(GtkWidget* (*row)(GtkWidget*), int index, const char* file = nullptr) {
  btnjobrefresh_clicked(findWidget(jobsButtonRowOf(page), nullptr, 1), nullptr);
  GtkWidget* table = jobTableOf(page);
  for (int job = 0; file && job < clistRows(table); ++job)
    if (clistCell(table, job, kJobFiles) == file) gtk_clist_select_row(GTK_CLIST(table), job, 0);
  click(findWidget(row(page), nullptr, index));
}
bool arrives(const char* device, const std::string& bytes) {  // within 40 s
  for (int wait = 0; wait < 400 && fileText(device) != bytes; ++wait) g_usleep(100000);
  return fileText(device) == bytes;
}
}  // namespace

// The real LPRng: pp prints through a 2 s filter, qq at once. Each step presses one button (on
// the job of the file named), sends files, and checks the state line and what each device got.
TEST(JobsPage, QueueControlAgainstTheRealSpooler) {
  writeTool("/usr/local/bin/slow", "#!/bin/sh\necho >>/tmp/started\nsleep 2\ncat\n");
  writeTool("/usr/local/bin/send", "#!/bin/sh\nfor f; do lpr -P pp /tmp/$f || exit 1; done\n");
  writeFile("/etc/printcap",
            "pp:lp=/dev/lpp:sd=/var/spool/lpd/pp:if=/usr/local/bin/slow:sh:\n"
            "qq:lp=/dev/lpq:sd=/var/spool/lpd/qq:sh:\n");
  ASSERT_EQ(std::system(": >/dev/lpp; : >/dev/lpq; : >/tmp/started; chmod 666 /dev/lp? "
                        "/tmp/started; for f in A B C D E F G; do echo $f >/tmp/$f; done"),
            0);
  preparelpd();
  GtkWidget* window = buildJobsWindow();
  page = pageOf(window, 1);
  gtk_notebook_set_current_page(GTK_NOTEBOOK(mainNotebookOf(window)), 1);
  while (g_source_remove_by_user_data(jobsChooserOf(page))) continue;
  DialogLog log;  // Move To and Redirect... take what they offer first: qq, then "No redirect"
  const struct {
    GtkWidget* (*row)(GtkWidget*);
    int button;
    const char *file, *lprToPp, *state, *lpp, *lpq;
  } steps[] = {
      {printerActionRowOf, 1, nullptr, "A B C D", "Printing paused; Jobs: 4", "", ""},
      {jobActionRowOf, 1, "/tmp/D", "", "Printing paused; Jobs: 4; 1 held", "", ""},
      {printerActionRowOf, 1, nullptr, "", "Ready", "", ""},
      {jobActionRowOf, 4, "/tmp/C", "", "", "A\nC\nB\n", ""},  // while A prints
      {jobActionRowOf, 2, "/tmp/D", "", "", "A\nC\nB\nD\n", ""},
      {printerActionRowOf, 2, nullptr, "", "Not accepting jobs", "", ""},
      {printerActionRowOf, 2, nullptr, "E", "Ready", "A\nC\nB\nD\nE\n", ""},
      {printerActionRowOf, 1, nullptr, "F", "Printing paused", "", ""},
      {jobActionRowOf, 5, "/tmp/F", "", "Printing paused", "", "F\n"},
      {printerActionRowOf, 1, nullptr, "", "Ready", "", ""},
      {printerActionRowOf, 3, nullptr, "G", "Redirected to qq", "A\nC\nB\nD\nE\n", "F\nG\n"},
      {printerActionRowOf, 3, nullptr, "", "Ready", "", ""},
  };
  for (const auto& s : steps) {
    EXPECT_TRUE(s.button != 4 || arrives("/tmp/started", "\n"));
    press(s.row, s.button, s.file);
    EXPECT_EQ(std::system(("send " + std::string(s.lprToPp)).c_str()), 0);
    EXPECT_TRUE(!*s.lpp || arrives("/dev/lpp", s.lpp)) << fileText("/dev/lpp");
    EXPECT_TRUE(!*s.lpq || arrives("/dev/lpq", s.lpq)) << fileText("/dev/lpq");
    press(jobsButtonRowOf, 1);
    const std::string state = gtk_label_get_text(GTK_LABEL(jobsStateLabelOf(page)));
    EXPECT_EQ(state.find(s.state), 0u) << state;
  }
  // A restart (after any printer change) keeps every paused job; deleting pp takes its own.
  press(printerActionRowOf, 1);
  EXPECT_EQ(std::system("send A && lpc stop qq >/dev/null && lpr -P qq /tmp/B"), 0);
  preparelpd();
  EXPECT_EQ(std::system("lpq -P pp | grep -q /tmp/A && lpq -P qq | grep -q /tmp/B"), 0);
  row_n = 0;
  click(deleteButtonOf(pageOf(window, 0)));
  EXPECT_EQ(std::system("lpq -P qq | grep -q /tmp/B && ! test -e /var/spool/lpd/pp"), 0);
  // lpc's refusal of a queue it lost is shown in its words; every other action was done.
  press(printerActionRowOf, 1);
  const std::string refusal =
      "Queue Control Failed: Printer: pp@localhost\npp@localhost: spool "
      "queue for 'pp' does not exist on server localhost\n";
  EXPECT_EQ(log.text().find("Queue Control Failed"), log.text().rfind(refusal)) << log.text();
  gtk_widget_destroy(window);
}
