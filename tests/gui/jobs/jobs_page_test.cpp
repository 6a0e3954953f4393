// The Jobs page with the spooler stood in: lines recorded, lpq leaving a report.
#include "jobs_window.h"
#include "store/spooler.h"

namespace {
gboolean quitLoop(gpointer) {
  gtk_main_quit();
  return FALSE;
}
Lines chooserNamesForTest(GtkWidget* chooser) {  // the active one first
  Lines names{comboActiveText(chooser)};
  GtkTreeModel* model = gtk_combo_box_get_model(GTK_COMBO_BOX(chooser));
  GtkTreeIter it;
  for (gboolean more = gtk_tree_model_get_iter_first(model, &it); more;
       more = gtk_tree_model_iter_next(model, &it)) {
    gchar* name = nullptr;
    gtk_tree_model_get(model, &it, 0, &name, -1);
    names.emplace_back(takeGStr(name).get());
  }
  return names;
}
bool allInsensitive(GtkWidget* page) {
  bool none = true;
  for (auto row : {jobsButtonRowOf, printerActionRowOf, jobActionRowOf})
    for (int i = row == jobsButtonRowOf ? 2 : 1; i <= (row == jobsButtonRowOf ? 3 : 5); ++i)
      none = none && !sensitive(findWidget(row(page), nullptr, i));
  return none;
}
}  // namespace

// The spooler stood in: lines recorded, lpq leaving the report of the moment. The chooser
// follows the printer table; one timer however often the page is entered; the picked job is
// followed by its number and every job action checks a fresh listing still has it.
TEST(JobsPage, ChooserTimersPickedJobAndDeletes) {
  writeFile("/etc/printcap", "office:lp=/dev/lp0:\no'x:lp=/dev/lp0:\n");
  const std::string h = "Printer: office@h\nRank Pr/Class\n", j77 = "1st r A 77 z 1 7:00\n",
                    j78 = "2nd r A 78 a 1 7:03\n";
  std::string report = h + j78 + "3rd anna A 80;x b 2 7:04\n";
  Lines lines;
  setCommandObserver([&](const std::string& line) {
    lines.push_back(line);
    if (line.rfind("lpq ", 0) == 0) writeFile("/tmp/lprqueue", report);
    if (line.rfind("lpc ", 0) == 0) writeFile("/tmp/lpcreply", "p@h: updated\n");
    return true;
  });
  GtkWidget* window = buildJobsWindow();
  GtkNotebook* notebook = GTK_NOTEBOOK(mainNotebookOf(window));
  GtkWidget* page = pageOf(window, 1);
  GtkWidget* chooser = jobsChooserOf(page);
  GtkWidget* table = jobTableOf(page);
  GtkCList* list = GTK_CLIST(table);
  const auto picked = [&] { return list->selection ? GPOINTER_TO_INT(list->selection->data) : -1; };
  const auto press = [&](GtkWidget* button) {
    click(button);
    settle();
  };
  const gchar* late[kPrinterColumns] = {"", "late", "", "", "", "", "", "", ""};
  gtk_clist_append(GTK_CLIST(printerTableOf(pageOf(window, 0))), const_cast<gchar**>(late));
  // Five entries within 5 s, then 5.5 s on the page: one listing per entry and one tick.
  for (int entry = 0; entry < 5; ++entry) {
    gtk_notebook_set_current_page(notebook, 0);
    gtk_notebook_set_current_page(notebook, 1);
    settle();
  }
  g_timeout_add(kJobRefreshMs + 500, quitLoop, nullptr);
  gtk_main();
  settle();
  EXPECT_EQ(lines.size(), 6u);
  EXPECT_EQ(chooserNamesForTest(chooser), (Lines{"office", "office", "o'x", "late"}));
  // 78 picked on row 0; a job ahead of it moves it to row 1, where it stays picked. Hold
  // names 78 and lists the queue first and after.
  gtk_clist_select_row(list, 0, 0);
  report = h + j77 + j78;
  press(jobsButton(window, 1));
  EXPECT_EQ(jrow_n * 10 + picked(), 11);
  press(findWidget(jobActionRowOf(page), nullptr, 1));
  // 78 has left: nothing picked, the job actions off. Picked again, and gone by the time
  // Delete lists: said, not done.
  report = h + j77;
  press(jobsButton(window, 1));
  EXPECT_EQ(jrow_n * 10 + picked(), -11);
  EXPECT_FALSE(sensitive(jobsButton(window, 2)) ||
               sensitive(findWidget(jobActionRowOf(page), nullptr, 1)));
  report = h + j77 + j78;
  press(jobsButton(window, 1));
  gtk_clist_select_row(list, 1, 0);
  report = h + j77;
  DialogLog log;
  press(jobsButton(window, 2));
  // A job number that is not all digits: Hold and Delete run nothing and say why.
  report = h + "1st anna A 80;x b 2 7:04\n" + j77;
  press(jobsButton(window, 1));
  gtk_clist_select_row(list, 0, 0);
  press(findWidget(jobActionRowOf(page), nullptr, 1));
  press(jobsButton(window, 2));
  // Delete 77; Delete All lists again at once.
  gtk_clist_select_row(list, 1, 0);
  press(jobsButton(window, 2));
  press(jobsButton(window, 3));
  EXPECT_EQ(log.text(),
            "Queue Control Failed: Job 78 is no longer in the queue; nothing was changed.\n"
            "Queue Control Failed: The job '80;x' has no job number the spooler could be given; "
            "nothing was changed.\n"
            "Queue Control Failed: The job '80;x' has no job number the spooler could be given; "
            "nothing was changed.\n");
  EXPECT_EQ(lines, goldenLines("jobs.lines"));  // every listing, action and none more
  // office deleted on the Printers page: gone from the chooser and from Move To...; the other
  // printer chosen. Move To takes what it offers first.
  gtk_notebook_set_current_page(notebook, 0);
  row_n = 0;
  click(deleteButtonOf(pageOf(window, 0)));
  gtk_notebook_set_current_page(notebook, 1);
  settle();
  EXPECT_EQ(chooserNamesForTest(chooser), (Lines{"o'x", "o'x", "late"}));
  gtk_clist_select_row(list, 1, 0);
  lines.clear();
  press(findWidget(jobActionRowOf(page), nullptr, 5));
  EXPECT_EQ(lines, (Lines{"lpq -P 'o'\\''x' > /tmp/lprqueue",
                          "lpc move 'o'\\''x' 77 late > /tmp/lpcreply 2>&1",
                          "lpq -P 'o'\\''x' > /tmp/lprqueue"}));
  // late renamed on the Printers page while chosen: still chosen, by its new name.
  gtk_combo_box_set_active(GTK_COMBO_BOX(chooser), 1);
  gtk_notebook_set_current_page(notebook, 0);
  gtk_clist_set_text(GTK_CLIST(printerTableOf(pageOf(window, 0))), 1, kColName, "later");
  gtk_notebook_set_current_page(notebook, 1);
  settle();
  EXPECT_EQ(chooserNamesForTest(chooser), (Lines{"later", "o'x", "later"}));
  // A queue the spooler does not know: said, and nothing to press.
  report = golden("lpq/noqueue.report");
  press(jobsButton(window, 1));
  EXPECT_EQ(gtk_label_get_text(GTK_LABEL(jobsStateLabelOf(page))), std::string("No such queue"));
  EXPECT_TRUE(allInsensitive(page));
  gtk_widget_destroy(window);  // takes the timer along
  EXPECT_EQ(g_main_context_find_source_by_user_data(nullptr, chooser), nullptr);
  setCommandObserver(nullptr);
}

namespace {
GtkWidget* page;  // the Jobs page box of the window under test
void refresh() {
  btnjobrefresh_clicked(findWidget(jobsButtonRowOf(page), nullptr, 1), nullptr);
  settle();
}
void press(GtkWidget* (*row)(GtkWidget*), int index, const char* file = nullptr) {
  refresh();
  GtkWidget* table = jobTableOf(page);
  for (int job = 0; file && job < clistRows(table); ++job)
    if (clistCell(table, job, kJobFiles) == file) gtk_clist_select_row(GTK_CLIST(table), job, 0);
  if (index > 0) click(findWidget(row(page), nullptr, index));
  settle();
}
std::string stateLine() {
  refresh();
  return gtk_label_get_text(GTK_LABEL(jobsStateLabelOf(page)));
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
    const std::string state = stateLine();
    EXPECT_EQ(state.find(s.state), 0u) << state;
  }
  // The picked job is followed while the queue moves: C picked, A prints, C is held (not D,
  // now on C's old row). B picked and printed: nothing picked, the job actions off. Paused
  // while D prints: D is said to finish, until it has.
  const std::string before = fileText("/dev/lpp"), started = fileText("/tmp/started");
  EXPECT_EQ(std::system("send A B C D"), 0);
  press(jobActionRowOf, 0, "/tmp/C");  // 0: picked, nothing pressed
  EXPECT_TRUE(arrives("/dev/lpp", before + "A\n"));
  refresh();
  EXPECT_EQ(clistCell(jobTableOf(page), jrow_n, kJobFiles), "/tmp/C");
  click(findWidget(jobActionRowOf(page), nullptr, 1));
  settle();
  EXPECT_EQ(
      std::system("lpq -P pp | grep -q '^hold.*/tmp/C' && ! lpq -P pp | grep -q '^hold.*/tmp/D'"),
      0);
  press(jobActionRowOf, 0, "/tmp/B");
  EXPECT_TRUE(arrives("/dev/lpp", before + "A\nB\n"));
  refresh();
  EXPECT_EQ(jrow_n, -1);
  for (int button : {1, 2, 4, 5})
    EXPECT_FALSE(sensitive(findWidget(jobActionRowOf(page), nullptr, button)));
  EXPECT_FALSE(sensitive(findWidget(jobsButtonRowOf(page), nullptr, 2)));
  EXPECT_TRUE(arrives("/tmp/started", started + "\n\n\n"));  // D started
  press(printerActionRowOf, 1);
  EXPECT_EQ(stateLine(), "Printing paused, the current job is finishing; Jobs: 3; 1 held");
  EXPECT_TRUE(arrives("/dev/lpp", before + "A\nB\nD\n"));
  EXPECT_EQ(stateLine().find("Printing paused; Jobs: "), 0u);
  press(printerActionRowOf, 1);
  press(jobActionRowOf, 3);  // Release All: C prints
  EXPECT_TRUE(arrives("/dev/lpp", before + "A\nB\nD\nC\n"));
  // A restart (after any printer change) keeps every paused job; deleting pp takes its own.
  press(printerActionRowOf, 1);
  EXPECT_EQ(std::system("send A && lpc stop qq >/dev/null && lpr -P qq /tmp/B"), 0);
  preparelpd();
  EXPECT_EQ(std::system("lpq -P pp | grep -q /tmp/A && lpq -P qq | grep -q /tmp/B"), 0);
  row_n = 0;
  click(deleteButtonOf(pageOf(window, 0)));
  EXPECT_EQ(std::system("lpq -P qq | grep -q /tmp/B && ! test -e /var/spool/lpd/pp"), 0);
  // Back on the Jobs page, pp has left the chooser. A printer the spooler has no queue for:
  // said, with nothing to press. No action failed on the way.
  const gchar* ghost[kPrinterColumns] = {"", "ghost", "", "", "", "", "", "", ""};
  gtk_clist_append(GTK_CLIST(printerTableOf(pageOf(window, 0))), const_cast<gchar**>(ghost));
  GtkWidget* chooser = jobsChooserOf(page);
  for (int entered : {0, 1})
    gtk_notebook_set_current_page(GTK_NOTEBOOK(mainNotebookOf(window)), entered);
  settle();
  EXPECT_EQ(comboActiveText(chooser), "qq");
  gtk_combo_box_set_active(GTK_COMBO_BOX(chooser), 1);
  settle();
  EXPECT_EQ(comboActiveText(chooser) + ": " + gtk_label_get_text(GTK_LABEL(jobsStateLabelOf(page))),
            "ghost: No such queue");
  EXPECT_FALSE(sensitive(findWidget(printerActionRowOf(page), nullptr, 1)));
  EXPECT_EQ(log.text().find("Queue Control Failed"), std::string::npos) << log.text();
  gtk_widget_destroy(window);
}
