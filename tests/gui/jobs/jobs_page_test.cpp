// The Jobs page, with the spooler stood in (every command line recorded, lpq leaving a report)
// and with the real LPRng.
#include "jobs_window.h"

TEST(JobsPage, ChooserSwitchTimersAndDeletes) {
  writeFile("/etc/printcap", "office:lp=/dev/lp0:\no'x:lp=/dev/lp0:\n");
  Lines lines;
  setCommandObserver([&](const std::string& line) {
    lines.push_back(line);
    if (line.rfind("lpq ", 0) == 0)
      writeFile(kQueueListingPath,
                "Rank Pr/Class\n1st r A 78 a 1 7:03\n"
                "2nd anna A 80;x b 2 7:04\n");
    return true;
  });
  jrow_n = 0;
  GtkWidget* window = buildJobsWindow();
  GtkWidget* chooser = widgetAt(pageOf(window, 1), {1, 2});  // its rows are made when first used
  GtkWidget* table = jobTableOf(pageOf(window, 1));
  // A printer added before the first switch stays out of the chooser.
  const gchar* late[kPrinterColumns] = {"", "late", "", "", "", "", "", "", ""};
  gtk_clist_append(GTK_CLIST(printerTableOf(pageOf(window, 0))), const_cast<gchar**>(late));
  lines.clear();
  gtk_notebook_set_current_page(GTK_NOTEBOOK(mainNotebookOf(window)), 1);
  EXPECT_EQ(comboItems(chooser), (Lines{"office", "o'x"}));
  EXPECT_EQ(lines, (Lines{lpqCommand("office"), "rm /tmp/lprqueue"}));
  // One timer, due in 5 s; a tick after leaving the page lists nothing and ends it.
  GSource* timer = g_main_context_find_source_by_user_data(nullptr, chooser);
  const gint64 due = g_source_get_ready_time(timer) - g_get_monotonic_time();
  EXPECT_TRUE(due > 4500 * G_TIME_SPAN_MILLISECOND && due <= 5000 * G_TIME_SPAN_MILLISECOND);
  g_source_destroy(timer);
  EXPECT_EQ(g_main_context_find_source_by_user_data(nullptr, chooser), nullptr);
  gtk_notebook_set_current_page(GTK_NOTEBOOK(mainNotebookOf(window)), 0);
  EXPECT_FALSE(showPRjobs(chooser));
  // Delete: the chosen printer and the selected job, quoted, then a listing; with no job at
  // the remembered row nothing; then Delete All.
  gtk_combo_box_set_active(GTK_COMBO_BOX(chooser), 1);
  click(jobsButton(window, 1));
  gtk_clist_select_row(GTK_CLIST(table), 1, 0);
  lines.clear();
  click(jobsButton(window, 2));
  jrow_n = 2;
  click(jobsButton(window, 2));
  click(jobsButton(window, 3));
  EXPECT_EQ(lines, (Lines{"lprm -P 'o'\\''x' '80;x'", lpqCommand("o'x"), "rm /tmp/lprqueue",
                          "lprm -P 'o'\\''x' all"}));
  EXPECT_EQ(clistRows(table), 0);
  gtk_widget_destroy(window);  // takes the timers along
  EXPECT_EQ(g_main_context_find_source_by_user_data(nullptr, chooser), nullptr);
  setCommandObserver(nullptr);
}

// A stopped queue keeps its jobs: they are listed, and Delete and Delete All remove them.
TEST(JobsPage, RealSpooler) {
  writeFile("/etc/printcap", "q1:lp=/dev/lp0:sd=/var/spool/lpd/q1:\n");
  preparelpd();
  ASSERT_EQ(std::system("lpc stop q1 >/dev/null && for f in alpha beta; do echo x > /tmp/$f && "
                        "lpr -P q1 /tmp/$f; done"),
            0);
  GtkWidget* window = buildJobsWindow();
  GtkWidget* table = jobTableOf(pageOf(window, 1));
  gtk_notebook_set_current_page(GTK_NOTEBOOK(mainNotebookOf(window)), 1);
  EXPECT_EQ(clistColumn(table, kJobFiles), (Lines{"/tmp/alpha", "/tmp/beta"}));
  gtk_clist_select_row(GTK_CLIST(table), 1, 0);
  click(jobsButton(window, 2));
  EXPECT_EQ(clistColumn(table, kJobFiles), Lines{"/tmp/alpha"});  // listed again: lpq agrees
  click(jobsButton(window, 3));
  click(jobsButton(window, 1));
  EXPECT_EQ(clistRows(table), 0);
  gtk_widget_destroy(window);
  std::system("killall lpd");
}
