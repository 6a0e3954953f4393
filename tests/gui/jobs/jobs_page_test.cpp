#include "jobs/jobs_page.h"

#include <gtest/gtest.h>
#include <unistd.h>

#include <fstream>
#include <string>
#include <vector>

#include "app/shell.h"
#include "app/startup.h"
#include "app/widgets.h"
#include "gui_support.h"
#include "jobs_window.h"
#include "store/printer_table.h"
#include "store/spooler.h"

namespace {

using Lines = std::vector<std::string>;

// What the stand-in printers page puts into its table, and what "lpq" reports.
Lines gPrinterNames;
std::string gReport;

const std::string kHeader =
    " Rank   Owner/ID               Pr/Class Job Files                 Size Time\n";
const std::string kReport =
    "Printer: office@localhost 'lpdfilter drv=upp method=auto color=auto'\n"
    " Queue: 2 printable jobs\n Server: pid 81 active\n" +
    kHeader +
    "active root@localhost+78            A    78 /etc/testpg.ascii       51 07:03:38\n"
    "1st    anna@localhost+80            A    80 letter.txt            2048 07:04:10\n";

// Stand-in with the Printers page layout: check button, scrolled printer table, button row.
void fakePrintersPage(GtkWidget* pageBox) {
  gtk_box_pack_start(GTK_BOX(pageBox), gtk_check_button_new_with_label("boot"), FALSE, FALSE, 0);
  GtkWidget* scrolled = gtk_scrolled_window_new(nullptr, nullptr);
  GtkWidget* table = gtk_clist_new(kPrinterColumns);
  for (const std::string& name : gPrinterNames) {
    const gchar* cells[kPrinterColumns] = {"", name.c_str(), "", "USB", "/dev/usb/lp0",
                                           "", "",           "", "NO"};
    gtk_clist_append(GTK_CLIST(table), const_cast<gchar**>(cells));
  }
  gtk_container_add(GTK_CONTAINER(scrolled), table);
  gtk_box_pack_start(GTK_BOX(pageBox), scrolled, TRUE, TRUE, 0);
  gtk_box_pack_start(GTK_BOX(pageBox), gtk_hbox_new(TRUE, 0), FALSE, FALSE, 0);
}

// Records every command line; "lpq" leaves gReport in the listing file, "rm" removes it.
struct FakeSpooler {
  FakeSpooler() {
    setCommandObserver([this](const std::string& line) {
      lines.push_back(line);
      if (line.rfind("lpq -P ", 0) == 0)
        std::ofstream("/tmp/lprqueue", std::ios::trunc) << gReport;
      else if (line == "rm /tmp/lprqueue")
        unlink("/tmp/lprqueue");
      return true;
    });
  }
  ~FakeSpooler() { setCommandObserver(nullptr); }
  Lines lines;
};

Lines listing(const std::string& name) {
  return {lpqCommand(name), "rm /tmp/lprqueue"};
}

class JobsPage : public testing::Test {
 protected:
  // Builds the window; `page` 1 shows the jobs page, after which the log is cleared.
  void build(Lines names, int page = 0, std::string report = kReport) {
    destroy();
    gPrinterNames = std::move(names);
    gReport = std::move(report);
    jrow_n = 0;
    window = buildJobsWindow(fakePrintersPage);
    notebook = mainNotebookOf(window);
    pageBox = gtk_notebook_get_nth_page(GTK_NOTEBOOK(notebook), 1);
    chooser = jobsChooserOf(pageBox);
    table = jobTableOf(pageBox);
    if (page == 1) {
      showPage(1);
      spooler.lines.clear();
    }
  }
  void destroy() {
    takeTimers();
    if (window != nullptr) gtk_widget_destroy(window);
    window = nullptr;
  }
  void TearDown() override {
    destroy();
    pumpEvents();
  }
  void showPage(int page) { gtk_notebook_set_current_page(GTK_NOTEBOOK(notebook), page); }
  GtkWidget* button(int index) { return findWidget(jobsButtonRowOf(pageBox), nullptr, index); }
  void click(int index) { gtk_button_clicked(GTK_BUTTON(button(index))); }
  // Removes the refresh timers of the chooser, counting them.
  int takeTimers() {
    int count = 0;
    for (GSource* s; chooser && (s = g_main_context_find_source_by_user_data(nullptr, chooser));
         ++count)
      g_source_destroy(s);
    return count;
  }
  int chooserEntries() {
    return gtk_tree_model_iter_n_children(gtk_combo_box_get_model(GTK_COMBO_BOX(chooser)), nullptr);
  }

  FakeSpooler spooler;
  GtkWidget *window = nullptr, *notebook = nullptr, *pageBox = nullptr, *chooser = nullptr,
            *table = nullptr;
};

TEST_F(JobsPage, LayoutAndChooserFilledOnceFromThePrinterTable) {
  build({"office", "lab", "back office"});
  GtkWidget* label = findWidget(jobsChooserRowOf(pageBox), nullptr, 1);
  ASSERT_TRUE(GTK_IS_LABEL(label));
  EXPECT_STREQ(gtk_label_get_text(GTK_LABEL(label)), "Select Printer:");
  EXPECT_EQ(jobsPageOfChooser(chooser), pageBox);
  EXPECT_EQ(notebookOfChooser(chooser), notebook);
  EXPECT_EQ(jobsPageOfNotebook(notebook), pageBox);
  ASSERT_TRUE(GTK_IS_CLIST(table));
  EXPECT_EQ(GTK_CLIST(table)->columns, 7);
  EXPECT_EQ(GTK_CLIST(table)->selection_mode, GTK_SELECTION_BROWSE);
  const char* titles[] = {"Rank", "Owner", "Class", "Job ID", "Files", "Size", "Time"};
  for (int col = 0; col < 7; ++col)
    EXPECT_STREQ(gtk_label_get_text(GTK_LABEL(gtk_clist_get_column_widget(GTK_CLIST(table), col))),
                 titles[col]);
  const char* labels[] = {"", "Refresh", "Delete", "Delete All", "", "Exit"};
  for (int i : {1, 2, 3, 5}) {
    ASSERT_TRUE(GTK_IS_BUTTON(button(i))) << i;
    EXPECT_STREQ(gtk_button_get_label(GTK_BUTTON(button(i))), labels[i]);
    EXPECT_EQ(jobsPageOfButton(button(i)), pageBox);
  }
  EXPECT_TRUE(GTK_IS_FIXED(button(4)));

  ASSERT_EQ(chooserEntries(), 3);
  EXPECT_EQ(comboActiveText(chooser), "office");
  for (int i : {2, 1}) {
    gtk_combo_box_set_active(GTK_COMBO_BOX(chooser), i);
    EXPECT_EQ(comboActiveText(chooser), gPrinterNames[static_cast<size_t>(i)]);
  }
  // Built and changed while the Printers page is current: nothing listed.
  EXPECT_TRUE(spooler.lines.empty());
  // A printer added later does not reach the chooser.
  const gchar* cells[kPrinterColumns] = {"", "late", "", "", "", "", "", "", ""};
  gtk_clist_append(GTK_CLIST(printerTableOf(gtk_notebook_get_nth_page(GTK_NOTEBOOK(notebook), 0))),
                   const_cast<gchar**>(cells));
  showPage(1);
  EXPECT_EQ(chooserEntries(), 3);
}

// The chooser's rows are those of start-up even when a printer is added before anything has
// looked at the chooser (its rows reach the combo box only then).
TEST_F(JobsPage, PrinterAddedBeforeTheFirstSwitchStaysOutOfTheChooser) {
  gPrinterNames = {"office", "lab"};
  window = buildJobsWindow(fakePrintersPage);
  notebook = mainNotebookOf(window);
  const gchar* cells[kPrinterColumns] = {"", "late", "", "", "", "", "", "", ""};
  gtk_clist_append(GTK_CLIST(printerTableOf(gtk_notebook_get_nth_page(GTK_NOTEBOOK(notebook), 0))),
                   const_cast<gchar**>(cells));
  showPage(1);
  EXPECT_EQ(spooler.lines, listing("office"));
  pageBox = jobsPageOfNotebook(notebook);
  chooser = jobsChooserOf(pageBox);
  EXPECT_EQ(chooserEntries(), 2);
  EXPECT_EQ(comboActiveText(chooser), "office");
}

TEST_F(JobsPage, SwitchListsOnceAndStartsOneTimerPerSwitch) {
  build({"office", "lab"});
  showPage(1);
  EXPECT_EQ(spooler.lines, listing("office"));
  ASSERT_EQ(clistRows(table), 2);
  EXPECT_EQ(clistCell(table, 1, kJobId), "80");
  EXPECT_EQ(clistCell(table, 0, kJobFiles), "/etc/testpg.ascii");
  EXPECT_EQ(access("/tmp/lprqueue", F_OK), -1);  // removed after reading

  // A tick while the page is current lists again, keeps its timer and focuses the chooser.
  spooler.lines.clear();
  EXPECT_TRUE(showPRjobs(chooser));
  EXPECT_EQ(spooler.lines, listing("office"));
  GtkWidget* focus = gtk_window_get_focus(GTK_WINDOW(window));
  EXPECT_TRUE(focus == chooser || gtk_widget_is_ancestor(focus, chooser));

  // Choosing another printer while shown lists that one at once.
  spooler.lines.clear();
  gtk_combo_box_set_active(GTK_COMBO_BOX(chooser), 1);
  EXPECT_EQ(spooler.lines, listing("lab"));

  // Leaving and coming back: a second timer; a tick on another page lists nothing.
  showPage(0);
  spooler.lines.clear();
  EXPECT_FALSE(showPRjobs(chooser));
  EXPECT_TRUE(spooler.lines.empty());
  showPage(1);
  // Timers repeat every 5000 ms (the first has run down a little meanwhile).
  GSource* timer = g_main_context_find_source_by_user_data(nullptr, chooser);
  ASSERT_NE(timer, nullptr);
  // The context's cached time is as old as its last iteration: compare with the clock.
  const gint64 due = g_source_get_ready_time(timer) - g_get_monotonic_time();
  EXPECT_GT(due, 4000 * G_TIME_SPAN_MILLISECOND);
  EXPECT_LE(due, 5000 * G_TIME_SPAN_MILLISECOND);
  EXPECT_EQ(takeTimers(), 2);
}

TEST_F(JobsPage, DeleteRemovesTheChosenJobThenListsAgain) {
  const std::string hostile = kHeader + "active root@localhost+78 A 78;reboot f 51 07:03:38\n";
  struct Case {
    std::string printer, report;
    int row;
    const char* lprm;
  } cases[] = {
      {"office", kReport, 0, "lprm -P office 78"},
      {"office", kReport, 1, "lprm -P office 80"},
      {"office", hostile, 0, "lprm -P office '78;reboot'"},
      {"o'x", kReport, 0, "lprm -P 'o'\\''x' 78"},
  };
  for (const Case& c : cases) {
    build({c.printer}, 1, c.report);
    gtk_clist_select_row(GTK_CLIST(table), c.row, 0);
    EXPECT_EQ(jrow_n, c.row);
    spooler.lines.clear();
    click(2);
    Lines expected = listing(c.printer);
    expected.insert(expected.begin(), c.lprm);
    EXPECT_EQ(spooler.lines, expected) << c.lprm;
  }
}

TEST_F(JobsPage, DeleteWithoutARowRunsNothing) {
  for (int row : {2, 7, -1}) {
    build({"office"}, 1);
    jrow_n = row;
    click(2);
    EXPECT_TRUE(spooler.lines.empty()) << row;
    EXPECT_EQ(clistRows(table), 2) << row;
  }
  build({"office"}, 1, "");  // an empty queue
  click(2);
  EXPECT_TRUE(spooler.lines.empty());
}

TEST_F(JobsPage, ListingReselectsRememberedRow) {
  build({"office"});
  jrow_n = 1;
  showPage(1);
  ASSERT_NE(GTK_CLIST(table)->selection, nullptr);
  EXPECT_EQ(GPOINTER_TO_INT(GTK_CLIST(table)->selection->data), 1);
  // A listing with fewer rows keeps jrow_n and selects nothing new.
  jrow_n = 5;
  click(1);
  EXPECT_EQ(jrow_n, 5);
}

TEST_F(JobsPage, DeleteAllRemovesTheQueueWithoutListingAndTimersDieWithThePage) {
  build({"office"}, 1);
  click(3);
  EXPECT_EQ(spooler.lines, Lines{"lprm -P office all"});
  EXPECT_EQ(clistRows(table), 0);
  gtk_widget_destroy(window);
  window = nullptr;
  EXPECT_EQ(g_main_context_find_source_by_user_data(nullptr, chooser), nullptr);
  chooser = nullptr;
}

TEST_F(JobsPage, NoPrintersNothingHappens) {
  build({});
  EXPECT_EQ(chooserEntries(), 0);
  showPage(1);
  EXPECT_EQ(takeTimers(), 0);
  for (int index : {1, 2, 3}) click(index);
  EXPECT_TRUE(spooler.lines.empty());
}

}  // namespace
