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
#include "store/printer_table.h"

namespace {

// What the stand-in printers page puts into its table, and what "lpq" reports.
std::vector<std::string> gPrinterNames;
std::string gReport;

const char* const kReport =
    "Printer: office@localhost 'lpdfilter drv=upp method=auto color=auto'\n"
    " Queue: 2 printable jobs\n"
    " Server: pid 81 active\n"
    " Rank   Owner/ID               Pr/Class Job Files                 Size Time\n"
    "active root@localhost+78            A    78 /etc/testpg.ascii       51 07:03:38\n"
    "1st    anna@localhost+80            A    80 letter.txt            2048 07:04:10\n";

// The Printers page is built elsewhere; this stand-in has its layout: check button, scrolled
// window holding the 9-column printer table, button row.
void fakePrintersPage(GtkWidget* pageBox) {
  gtk_box_pack_start(GTK_BOX(pageBox), gtk_check_button_new_with_label("boot"), FALSE, FALSE, 0);
  GtkWidget* scrolled = gtk_scrolled_window_new(nullptr, nullptr);
  GtkWidget* table = gtk_clist_new(kPrinterColumns);
  for (const std::string& name : gPrinterNames) {
    const gchar* cells[kPrinterColumns] = {"", name.c_str(), "desc", "USB", "/dev/usb/lp0",
                                           "", "",           "",     "NO"};
    gtk_clist_append(GTK_CLIST(table), const_cast<gchar**>(cells));
  }
  gtk_container_add(GTK_CONTAINER(scrolled), table);
  gtk_box_pack_start(GTK_BOX(pageBox), scrolled, TRUE, TRUE, 0);
  gtk_box_pack_start(GTK_BOX(pageBox), gtk_hbox_new(TRUE, 0), FALSE, FALSE, 0);
}

// Records every command line; "lpq" leaves gReport in the listing file, "rm" removes it.
class FakeSpooler {
 public:
  FakeSpooler() {
    setCommandObserver([this](const std::string& line) {
      lines.push_back(line);
      if (line.rfind("lpq -P ", 0) == 0) {
        std::ofstream("/tmp/lprqueue", std::ios::trunc) << gReport;
      } else if (line == "rm /tmp/lprqueue") {
        unlink("/tmp/lprqueue");
      }
      return true;
    });
  }
  ~FakeSpooler() { setCommandObserver(nullptr); }
  std::vector<std::string> lines;
};

class JobsPage : public testing::Test {
 protected:
  void build(std::vector<std::string> names, std::string report = kReport) {
    gPrinterNames = std::move(names);
    gReport = std::move(report);
    jrow_n = 0;
    PageBuilders pages;
    pages.printers = fakePrintersPage;
    pages.jobs = drawprintjobs;
    pages.switchPage = tabpage_switched;
    window = buildMainWindow(pages);
    notebook = mainNotebookOf(window);
    pageBox = gtk_notebook_get_nth_page(GTK_NOTEBOOK(notebook), 1);
    chooser = jobsChooserOf(pageBox);
    table = jobTableOf(pageBox);
  }
  void TearDown() override {
    if (window != nullptr) gtk_widget_destroy(window);
    pumpEvents();
  }
  void showPage(int page) { gtk_notebook_set_current_page(GTK_NOTEBOOK(notebook), page); }
  GtkWidget* button(int index) { return findWidget(jobsButtonRowOf(pageBox), nullptr, index); }
  void click(int index) { gtk_button_clicked(GTK_BUTTON(button(index))); }
  // Removes the refresh timers of the chooser, counting them.
  int takeTimers() {
    int count = 0;
    while (GSource* source = g_main_context_find_source_by_user_data(nullptr, chooser)) {
      g_source_destroy(source);
      ++count;
    }
    return count;
  }
  int chooserEntries() {
    return gtk_tree_model_iter_n_children(gtk_combo_box_get_model(GTK_COMBO_BOX(chooser)), nullptr);
  }
  std::vector<std::string> column(int col) {
    std::vector<std::string> cells;
    for (int row = 0; row < clistRows(table); ++row) cells.push_back(clistCell(table, row, col));
    return cells;
  }
  static std::vector<std::string> listing(const std::string& name) {
    return {"lpq -P " + name + " > /tmp/lprqueue", "rm /tmp/lprqueue"};
  }

  GtkWidget* window = nullptr;
  GtkWidget* notebook = nullptr;
  GtkWidget* pageBox = nullptr;
  GtkWidget* chooser = nullptr;
  GtkWidget* table = nullptr;
};

TEST_F(JobsPage, NamedPathsReachTheLaidOutWidgets) {
  FakeSpooler spooler;
  build({"office"});
  ASSERT_TRUE(GTK_IS_COMBO_BOX(chooser));
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
  for (int col = 0; col < 7; ++col) {
    GtkWidget* title = gtk_clist_get_column_widget(GTK_CLIST(table), col);
    EXPECT_STREQ(gtk_label_get_text(GTK_LABEL(title)), titles[col]) << col;
  }
  const char* labels[] = {"Refresh", "Delete", "Delete All", nullptr, "Exit"};
  for (int i = 0; i < 5; ++i) {
    GtkWidget* child = button(i + 1);
    if (labels[i] == nullptr) {
      EXPECT_TRUE(GTK_IS_FIXED(child));
      continue;
    }
    ASSERT_TRUE(GTK_IS_BUTTON(child)) << labels[i];
    EXPECT_STREQ(gtk_button_get_label(GTK_BUTTON(child)), labels[i]);
    EXPECT_EQ(jobsPageOfButton(child), pageBox);
  }
  EXPECT_TRUE(spooler.lines.empty());  // built while the Printers page is current
}

TEST_F(JobsPage, ChooserFilledOnceFromThePrinterTable) {
  FakeSpooler spooler;
  build({"office", "lab", "back office"});
  ASSERT_EQ(chooserEntries(), 3);
  EXPECT_EQ(comboActiveText(chooser), "office");
  for (int i = 0; i < 3; ++i) {
    gtk_combo_box_set_active(GTK_COMBO_BOX(chooser), i);
    EXPECT_EQ(comboActiveText(chooser), gPrinterNames[static_cast<size_t>(i)]);
  }
  // Changing the printer while the Printers page is current lists nothing.
  EXPECT_TRUE(spooler.lines.empty());
  // A printer added later does not reach the chooser.
  GtkWidget* printers = printerTableOf(gtk_notebook_get_nth_page(GTK_NOTEBOOK(notebook), 0));
  const gchar* cells[kPrinterColumns] = {"", "late", "", "", "", "", "", "", ""};
  gtk_clist_append(GTK_CLIST(printers), const_cast<gchar**>(cells));
  showPage(1);
  EXPECT_EQ(chooserEntries(), 3);
  takeTimers();
}

TEST_F(JobsPage, SwitchListsOnceAndStartsOneTimerPerSwitch) {
  FakeSpooler spooler;
  build({"office", "lab"});
  showPage(1);
  EXPECT_EQ(spooler.lines, listing("office"));
  EXPECT_EQ(column(kJobId), (std::vector<std::string>{"78", "80"}));
  EXPECT_EQ(column(kJobFiles), (std::vector<std::string>{"/etc/testpg.ascii", "letter.txt"}));
  EXPECT_EQ(access("/tmp/lprqueue", F_OK), -1);  // removed after reading

  // A tick while the page is current lists again and keeps its timer.
  spooler.lines.clear();
  EXPECT_TRUE(showPRjobs(chooser));
  EXPECT_EQ(spooler.lines, listing("office"));
  GtkWidget* focus = gtk_window_get_focus(GTK_WINDOW(window));
  EXPECT_TRUE(focus == chooser || gtk_widget_is_ancestor(focus, chooser))
      << (focus ? G_OBJECT_TYPE_NAME(focus) : "none");

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
  // Both timers repeat every 5000 ms (the first has run down a little meanwhile).
  GSource* timer = g_main_context_find_source_by_user_data(nullptr, chooser);
  ASSERT_NE(timer, nullptr);
  const gint64 due = g_source_get_ready_time(timer) - g_source_get_time(timer);
  EXPECT_GT(due, 4000 * G_TIME_SPAN_MILLISECOND);
  EXPECT_LE(due, 5000 * G_TIME_SPAN_MILLISECOND);
  EXPECT_EQ(takeTimers(), 2);
}

TEST_F(JobsPage, DestroyedPageTakesItsTimersAlong) {
  FakeSpooler spooler;
  build({"office"});
  showPage(1);
  GtkWidget* oldChooser = chooser;
  gtk_widget_destroy(window);
  window = nullptr;
  EXPECT_EQ(g_main_context_find_source_by_user_data(nullptr, oldChooser), nullptr);
}

TEST_F(JobsPage, DeleteLines) {
  struct Case {
    const char* name;
    std::string printer;
    std::string report;
    int row;
    std::vector<std::string> expected;
  };
  const std::string header =
      " Rank   Owner/ID               Pr/Class Job Files                 Size Time\n";
  const std::vector<Case> cases = {
      {"first row",
       "office",
       kReport,
       0,
       {"lprm -P office 78", "lpq -P office > /tmp/lprqueue", "rm /tmp/lprqueue"}},
      {"second row",
       "office",
       kReport,
       1,
       {"lprm -P office 80", "lpq -P office > /tmp/lprqueue", "rm /tmp/lprqueue"}},
      {"hostile job id is quoted",
       "office",
       header + "active root@localhost+78 A 78;reboot f 51 07:03:38\n",
       0,
       {"lprm -P office '78;reboot'", "lpq -P office > /tmp/lprqueue", "rm /tmp/lprqueue"}},
      {"hostile printer name is quoted",
       "o'x",
       kReport,
       0,
       {"lprm -P 'o'\\''x' 78", "lpq -P 'o'\\''x' > /tmp/lprqueue", "rm /tmp/lprqueue"}},
  };
  for (const Case& c : cases) {
    FakeSpooler spooler;
    build({c.printer}, c.report);
    showPage(1);
    gtk_clist_select_row(GTK_CLIST(table), c.row, 0);
    EXPECT_EQ(jrow_n, c.row) << c.name;
    spooler.lines.clear();
    click(2);
    EXPECT_EQ(spooler.lines, c.expected) << c.name;  // removed, then listed again
    takeTimers();
    gtk_widget_destroy(window);
    window = nullptr;
  }
}

TEST_F(JobsPage, DeleteAllRemovesTheQueueWithoutListing) {
  FakeSpooler spooler;
  build({"office"});
  showPage(1);
  spooler.lines.clear();
  click(3);
  EXPECT_EQ(spooler.lines, std::vector<std::string>{"lprm -P office all"});
  EXPECT_EQ(clistRows(table), 0);
  takeTimers();
}

TEST_F(JobsPage, ListingReselectsRememberedRow) {
  FakeSpooler spooler;
  build({"office"});
  jrow_n = 1;
  showPage(1);
  ASSERT_NE(GTK_CLIST(table)->selection, nullptr);
  EXPECT_EQ(GPOINTER_TO_INT(GTK_CLIST(table)->selection->data), 1);
  // A listing with fewer rows keeps jrow_n and selects nothing new.
  jrow_n = 5;
  click(1);
  EXPECT_EQ(jrow_n, 5);
  takeTimers();
}

TEST_F(JobsPage, DeleteWithoutARowRunsNothing) {
  for (int row : {2, 7, -1}) {
    FakeSpooler spooler;
    build({"office"});
    showPage(1);
    jrow_n = row;
    spooler.lines.clear();
    click(2);
    EXPECT_TRUE(spooler.lines.empty()) << row;
    EXPECT_EQ(clistRows(table), 2) << row;
    takeTimers();
    gtk_widget_destroy(window);
    window = nullptr;
  }
  // An empty queue: nothing to delete either.
  FakeSpooler spooler;
  build({"office"}, "");
  showPage(1);
  spooler.lines.clear();
  click(2);
  EXPECT_TRUE(spooler.lines.empty());
  takeTimers();
}

TEST_F(JobsPage, NoPrintersNothingHappens) {
  FakeSpooler spooler;
  build({});
  EXPECT_EQ(chooserEntries(), 0);
  showPage(1);
  EXPECT_EQ(takeTimers(), 0);
  for (int index : {1, 2, 3}) click(index);
  EXPECT_TRUE(spooler.lines.empty());
}

}  // namespace
