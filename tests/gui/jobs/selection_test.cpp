// After a listing shrank the table the last job is highlighted, and Delete removes that one.
#include "jobs_window.h"
#include "store/spooler.h"

TEST(JobsSelection, ShorterListingSelectsTheLastRowAndDeleteTakesIt) {
  writeFile("/etc/printcap", "office:lp=/dev/lp0:\n");
  std::string jobs = "1st r A 11 a 1 7:01\n2nd r A 12 b 1 7:02\n3rd r A 13 c 1 7:03\n";
  Lines lines;
  setCommandObserver([&](const std::string& line) {
    lines.push_back(line);
    if (line.rfind("lpq ", 0) == 0) writeFile(kQueueListingPath, "Rank Pr/Class\n" + jobs);
    return line.rfind("rm ", 0) != 0;  // the listing really goes
  });
  GtkWidget* window = buildJobsWindow();
  GtkCList* table = GTK_CLIST(jobTableOf(pageOf(window, 1)));
  gtk_notebook_set_current_page(GTK_NOTEBOOK(mainNotebookOf(window)), 1);
  gtk_clist_select_row(table, 2, 0);
  jobs.resize(40);  // jobs 11 and 12 left
  click(jobsButton(window, 1));
  EXPECT_EQ(GPOINTER_TO_INT(table->selection->data), 1);
  click(jobsButton(window, 2));
  EXPECT_EQ(lines.at(4), "lprm -P office 12");  // after two listings
  gtk_widget_destroy(window);
  setCommandObserver(nullptr);
}
