// The Jobs page against the real LPRng in the sandbox: a stopped queue keeps its jobs, so the
// table can be compared with what lpq reports after each deletion.
#include <gtest/gtest.h>

#include <cstdio>
#include <cstdlib>
#include <string>

#include "app/files.h"
#include "app/startup.h"
#include "app/widgets.h"
#include "gui_support.h"
#include "jobs/jobs_page.h"
#include "jobs_window.h"
#include "printers/printers_page.h"
#include "store/printcap.h"
#include "store/spooler.h"

namespace {

std::string lpq(const char* queue) {
  std::string out;
  if (FILE* pipe = popen((std::string("lpq -P ") + queue + " 2>&1").c_str(), "r")) {
    char buffer[4096];
    size_t n = 0;
    while ((n = fread(buffer, 1, sizeof buffer, pipe)) > 0) out.append(buffer, n);
    pclose(pipe);
  }
  return out;
}

}  // namespace

TEST(JobsWithRealSpooler, ListsDeletesOneAndDeletesAll) {
  ASSERT_EQ(std::system(": > /dev/lp0 && chmod 666 /dev/lp0"), 0);
  ASSERT_TRUE(replaceFile(kPrintcapPath, "q1:lp=/dev/lp0:sd=/var/spool/lpd/q1:\n"));
  preparelpd();
  ASSERT_EQ(std::system("lpc stop q1 >/dev/null 2>&1 && for f in alpha beta gamma; do "
                        "printf 'x\\n' > /tmp/$f && lpr -P q1 /tmp/$f; done"),
            0);

  GtkWidget* window = buildJobsWindow(drawprinterlist);
  GtkWidget* notebook = mainNotebookOf(window);
  GtkWidget* jobsPage = gtk_notebook_get_nth_page(GTK_NOTEBOOK(notebook), 1);
  GtkWidget* jobs = jobTableOf(jobsPage);
  gtk_notebook_set_current_page(GTK_NOTEBOOK(notebook), 1);
  pumpEvents();

  ASSERT_EQ(clistRows(jobs), 3) << lpq("q1");
  EXPECT_EQ(clistCell(jobs, 0, 4), "/tmp/alpha");
  EXPECT_EQ(clistCell(jobs, 0, 1).rfind("root@", 0), 0u);
  const std::string secondId = clistCell(jobs, 1, 3);
  ASSERT_FALSE(secondId.empty());

  gtk_clist_select_row(GTK_CLIST(jobs), 1, 0);
  gtk_button_clicked(GTK_BUTTON(findWidget(jobsButtonRowOf(jobsPage), nullptr, 2)));
  std::string report = lpq("q1");
  EXPECT_EQ(report.find("/tmp/beta"), std::string::npos) << report;
  EXPECT_NE(report.find("/tmp/alpha"), std::string::npos) << report;
  EXPECT_EQ(clistRows(jobs), 2);

  gtk_button_clicked(GTK_BUTTON(findWidget(jobsButtonRowOf(jobsPage), nullptr, 3)));
  report = lpq("q1");
  EXPECT_EQ(report.find("/tmp/"), std::string::npos) << report;
  EXPECT_EQ(clistRows(jobs), 0);

  gtk_widget_destroy(window);
  std::system("killall lpd 2>/dev/null");
}
