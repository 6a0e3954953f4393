#include "printers/printers_page.h"

#include <gtest/gtest.h>

#include <cstdio>

#include "printers_fixture.h"
#include "store/spooler.h"

namespace {

std::vector<std::string> names(GtkWidget* table) {
  std::vector<std::string> result;
  for (const PrinterRow& row : tableRows(table)) result.push_back(row[kColName]);
  return result;
}

std::string defaultName(GtkWidget* table) {
  const int row = find_data(table, "Yes", kColDefault);
  return row < 0 ? std::string() : clistCell(table, row, kColName);
}

int selectedRow(GtkWidget* table) {
  GList* selection = GTK_CLIST(table)->selection;
  return selection == nullptr ? -1 : GPOINTER_TO_INT(selection->data);
}

std::vector<std::string> withRestart(std::vector<std::string> lines) {
  lines.insert(lines.end(), restartCommands().begin(), restartCommands().end());
  return lines;
}

}  // namespace

TEST(PrintersPage, NamedPathsReachTheirWidgets) {
  PrintersPage page;
  ASSERT_TRUE(GTK_IS_CHECK_BUTTON(bootSwitchOf(page.pageBox)));
  EXPECT_STREQ(gtk_button_get_label(GTK_BUTTON(bootSwitchOf(page.pageBox))),
               "Load LPD Server at boot time");
  ASSERT_TRUE(GTK_IS_CLIST(page.table));
  EXPECT_TRUE(GTK_IS_SCROLLED_WINDOW(gtk_widget_get_parent(page.table)));
  EXPECT_EQ(ancestor(page.table, 4), page.window);  // where the editor finds its parent
  ASSERT_TRUE(GTK_IS_HBOX(buttonRowOf(page.pageBox)));
  const struct {
    int child;
    const char* label;
  } buttons[] = {{1, "Add"}, {2, "Modify"}, {3, "Delete"}, {5, "Exit"}};
  for (const auto& b : buttons) {
    GtkWidget* button = findWidget(buttonRowOf(page.pageBox), nullptr, b.child);
    ASSERT_TRUE(GTK_IS_BUTTON(button)) << b.label;
    EXPECT_STREQ(gtk_button_get_label(GTK_BUTTON(button)), b.label);
    EXPECT_EQ(ancestor(button, 4), page.window) << b.label;
  }
  EXPECT_TRUE(GTK_IS_FIXED(findWidget(buttonRowOf(page.pageBox), nullptr, 4)));
  EXPECT_STREQ(gtk_button_get_label(GTK_BUTTON(modifyButtonOf(page.pageBox))), "Modify");
  EXPECT_STREQ(gtk_button_get_label(GTK_BUTTON(deleteButtonOf(page.pageBox))), "Delete");
}

TEST(PrintersPage, TableShowsPrintcapWithItsColumns) {
  PrintersPage page;
  EXPECT_EQ(tableRows(page.table), parsePrintcap(formatPrintcap(samplePrinters())).rows);
  const struct {
    const char* title;
    bool visible;
  } columns[] = {{"Default", true}, {"Printer Name", true}, {"Description", true},
                 {"Type", true},    {"Device", true},       {"Filter", false},
                 {"PPD", false},    {"WD", false},          {"FQ", false}};
  GtkCList* list = GTK_CLIST(page.table);
  ASSERT_EQ(list->columns, kPrinterColumns);
  for (int c = 0; c < kPrinterColumns; ++c) {
    GtkWidget* title = gtk_clist_get_column_widget(list, c);
    ASSERT_TRUE(GTK_IS_LABEL(title)) << c;
    EXPECT_STREQ(gtk_label_get_text(GTK_LABEL(title)), columns[c].title);
    EXPECT_EQ(list->column[c].visible != 0, columns[c].visible) << columns[c].title;
  }
  EXPECT_EQ(list->selection_mode, GTK_SELECTION_BROWSE);
}

TEST(PrintersPage, ModifyAndDeleteUsableExactlyWithRows) {
  const struct {
    std::vector<PrinterRow> rows;
    bool removePrintcap;
    bool usable;
  } cases[] = {
      {samplePrinters(), false, true},
      {{samplePrinters()[1]}, false, true},
      {{}, false, false},
      {samplePrinters(), true, false},
  };
  for (const auto& c : cases) {
    writeFile("/etc/printcap", formatPrintcap(c.rows));
    if (c.removePrintcap) removePath("/etc/printcap");
    CommandRecorder quiet;
    GtkWidget* window = buildMainWindow(PageBuilders{drawprinterlist});
    GtkWidget* pageBox = gtk_notebook_get_nth_page(GTK_NOTEBOOK(mainNotebookOf(window)), 0);
    EXPECT_EQ(clistRows(printerTableOf(pageBox)) > 0, c.usable);
    EXPECT_EQ(sensitive(modifyButtonOf(pageBox)), c.usable);
    EXPECT_EQ(sensitive(deleteButtonOf(pageBox)), c.usable);
    gtk_widget_destroy(window);
  }
}

TEST(PrintersPage, BootSwitchFollowsLpdAndBootScript) {
  const struct {
    bool lpd;
    bool bootScript;
    bool sensitive;
    bool active;
  } cases[] = {
      {true, false, true, false},
      {true, true, true, true},
      {false, false, false, false},
      {false, true, false, true},  // insensitive, yet it shows the script is there
  };
  const bool hadLpd = std::filesystem::exists("/usr/sbin/lpd");
  if (hadLpd) std::rename("/usr/sbin/lpd", "/usr/sbin/lpd.away");
  for (const auto& c : cases) {
    setPresent("/usr/sbin/lpd", c.lpd);
    setPresent("/etc/init.d/runlpd", c.bootScript);
    PrintersPage page;
    EXPECT_EQ(sensitive(bootSwitchOf(page.pageBox)), c.sensitive) << c.lpd << c.bootScript;
    EXPECT_EQ(active(bootSwitchOf(page.pageBox)), c.active) << c.lpd << c.bootScript;
  }
  removePath("/etc/init.d/runlpd");
  removePath("/usr/sbin/lpd");
  if (hadLpd) std::rename("/usr/sbin/lpd.away", "/usr/sbin/lpd");
}

TEST(PrintersPage, DeleteWithOkRemovesRowFilesAndRestarts) {
  struct Edit {  // a cell changed in the table before deleting
    int row = -1;
    int column = 0;
    const char* text = "";
  };
  const auto all = samplePrinters();
  const std::string smbRm = "rm /etc/dorvek/samba/smb1.sh -f";
  const struct {
    const char* what;
    std::vector<PrinterRow> rows;
    int rowN;
    Edit edit;
    std::vector<std::string> removals;  // before the restart lines
    std::vector<std::string> remaining;
    const char* newDefault;
  } cases[] = {
      {"default", all, 0, {}, {"rm /var/spool/lpd/lp1 -rf"}, {"net1", "smb1"}, "net1"},
      {"other keeps default", all, 1, {}, {"rm /var/spool/lpd/net1 -rf"}, {"lp1", "smb1"}, "lp1"},
      {"samba any case",
       all,
       2,
       {2, kColType, "sAMBA"},
       {smbRm, "rm /var/spool/lpd/smb1 -rf"},
       {"lp1", "net1"},
       "lp1"},
      {"stale row_n", all, 7, {}, {smbRm, "rm /var/spool/lpd/smb1 -rf"}, {"lp1", "net1"}, "lp1"},
      {"no default",
       {all[1], all[2]},
       1,
       {},
       {smbRm, "rm /var/spool/lpd/smb1 -rf"},
       {"net1"},
       "net1"},
      {"hostile name",
       all,
       1,
       {1, kColName, "x;reboot"},
       {"rm '/var/spool/lpd/x;reboot' -rf"},
       {"lp1", "smb1"},
       "lp1"},
      {"name leaving the spool", all, 2, {2, kColName, ".."}, {}, {"lp1", "net1"}, "lp1"},
      {"last printer", {all[0]}, 0, {}, {"rm /var/spool/lpd/lp1 -rf"}, {}, ""},
  };
  for (const auto& c : cases) {
    PrintersPage page(c.rows);
    if (c.edit.row >= 0) {
      gtk_clist_set_text(GTK_CLIST(page.table), c.edit.row, c.edit.column, c.edit.text);
    }
    row_n = c.rowN;
    CommandRecorder recorder;
    DialogAnswer answer;
    answerNextDialog(GTK_RESPONSE_ACCEPT, &answer);
    gtk_button_clicked(GTK_BUTTON(deleteButtonOf(page.pageBox)));
    EXPECT_TRUE(answer.seen) << c.what;
    EXPECT_EQ(recorder.lines(), withRestart(c.removals)) << c.what;
    EXPECT_EQ(names(page.table), c.remaining) << c.what;
    EXPECT_EQ(defaultName(page.table), c.newDefault) << c.what;
    EXPECT_EQ(fileText("/etc/printcap"), formatPrintcap(tableRows(page.table))) << c.what;
    const bool rowsLeft = !c.remaining.empty();
    EXPECT_EQ(sensitive(modifyButtonOf(page.pageBox)), rowsLeft) << c.what;
    EXPECT_EQ(sensitive(deleteButtonOf(page.pageBox)), rowsLeft) << c.what;
    if (rowsLeft) {
      EXPECT_LT(row_n, clistRows(page.table)) << c.what;
      EXPECT_EQ(selectedRow(page.table), row_n) << c.what;
    }
  }
}

TEST(PrintersPage, DeleteAsksWithTheNameAndCancelChangesNothing) {
  const struct {
    const char* name;
    const char* shownQuestion;
  } cases[] = {
      {"lp1", "Are you sure you want to delete 'lp1'?"},
      {"<b>x&y</b>", "Are you sure you want to delete '<b>x&y</b>'?"},  // shown literally
  };
  for (const auto& c : cases) {
    PrintersPage page;
    gtk_clist_set_text(GTK_CLIST(page.table), 0, kColName, c.name);
    const std::string before = fileText("/etc/printcap");
    const auto rowsBefore = tableRows(page.table);
    for (int response : {GTK_RESPONSE_REJECT, GTK_RESPONSE_DELETE_EVENT}) {
      CommandRecorder recorder;
      DialogAnswer answer;
      answerNextDialog(response, &answer);
      gtk_button_clicked(GTK_BUTTON(deleteButtonOf(page.pageBox)));
      EXPECT_EQ(answer.title, "Delete Printer Confirmation");
      EXPECT_EQ(answer.message, c.shownQuestion);
      EXPECT_TRUE(recorder.lines().empty());
      EXPECT_EQ(tableRows(page.table), rowsBefore);
      EXPECT_EQ(fileText("/etc/printcap"), before);
    }
  }
}

TEST(PrintersPage, AddAndModifyLockTheMainWindowUntilTheEditorCloses) {
  const struct {
    bool add;
    int rowN;
    const char* title;
    const char* loadedName;
  } cases[] = {
      {true, 0, "Add New Printer", ""},
      {false, 1, "Modify Printer", "net1"},
      {false, 9, "Modify Printer", "smb1"},  // stale row_n: the last row
  };
  for (const auto& c : cases) {
    PrintersPage page;
    CommandRecorder recorder;
    if (c.add) {
      page.openAdd();
    } else {
      page.openModify(c.rowN);
    }
    GtkWidget* editor = page.editor();
    ASSERT_NE(editor, nullptr) << c.title;
    EXPECT_STREQ(gtk_window_get_title(GTK_WINDOW(editor)), c.title);
    EXPECT_FALSE(sensitive(page.window));
    EXPECT_EQ(entryText(infoFieldOf(page.infoBox(), kRowName)), c.loadedName);
    gtk_button_clicked(GTK_BUTTON(findWidget(editorButtonRowOf(page.windowBox()), nullptr, 4)));
    EXPECT_EQ(page.editor(), nullptr) << c.title;
    EXPECT_TRUE(sensitive(page.window)) << c.title;
  }
}
