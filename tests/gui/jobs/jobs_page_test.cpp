// The Jobs page with the spooler stood in: lines recorded, lpq leaving a report.
#include "jobs_window.h"

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
