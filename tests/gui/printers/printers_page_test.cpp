#include "printers/printers_page.h"

#include <gtest/gtest.h>

#include <cstdio>

#include "printers_fixture.h"
#include "store/spooler.h"

namespace {

// The names in the table, the default one marked with "*".
std::string names(GtkWidget* table) {
  std::string result;
  for (const PrinterRow& row : tableRows(table)) {
    result += std::string(result.empty() ? "" : " ") + (row[kColDefault] == "Yes" ? "*" : "");
    result += row[kColName];
  }
  return result;
}

}  // namespace

TEST(PrintersPage, NamedPathsAndColumns) {
  PrintersPage page;
  auto at = [&page](int child) { return findWidget(buttonRowOf(page.pageBox), nullptr, child); };
  EXPECT_EQ(buttonLabels({bootSwitchOf(page.pageBox), at(1), at(2), at(3), at(5)}),
            "Load LPD Server at boot time|Add|Modify|Delete|Exit|");
  EXPECT_TRUE(GTK_IS_CHECK_BUTTON(bootSwitchOf(page.pageBox)));
  EXPECT_TRUE(GTK_IS_FIXED(at(4)));
  ASSERT_TRUE(GTK_IS_CLIST(page.table));
  for (GtkWidget* w : {page.table, at(1), at(2), at(3), at(5)}) {
    EXPECT_EQ(ancestor(w, 4), page.window);  // where the editor finds its parent
  }
  EXPECT_EQ(modifyButtonOf(page.pageBox), at(2));
  EXPECT_EQ(deleteButtonOf(page.pageBox), at(3));

  EXPECT_EQ(tableRows(page.table), parsePrintcap(formatPrintcap(samplePrinters())).rows);
  const char* titles[] = {"Default", "Printer Name", "Description", "Type", "Device",
                          "Filter",  "PPD",          "WD",          "FQ"};
  GtkCList* list = GTK_CLIST(page.table);
  ASSERT_EQ(list->columns, kPrinterColumns);
  for (int c = 0; c < kPrinterColumns; ++c) {
    ASSERT_TRUE(GTK_IS_LABEL(gtk_clist_get_column_widget(list, c))) << c;
    EXPECT_EQ(labelText(gtk_clist_get_column_widget(list, c)), titles[c]);
    EXPECT_EQ(list->column[c].visible != 0, c < 5) << titles[c];  // the first five only
  }
  EXPECT_EQ(list->selection_mode, GTK_SELECTION_BROWSE);
}

TEST(PrintersPage, ModifyAndDeleteUsableExactlyWithRows) {
  const struct {
    std::vector<PrinterRow> rows;
    bool printcap, usable;
  } cases[] = {{samplePrinters(), true, true}, {{}, true, false}, {samplePrinters(), false, false}};
  for (const auto& c : cases) {
    PrintersPage page(c.rows, c.printcap);
    EXPECT_EQ(clistRows(page.table) > 0, c.usable);
    EXPECT_EQ(sensitive(modifyButtonOf(page.pageBox)), c.usable);
    EXPECT_EQ(sensitive(deleteButtonOf(page.pageBox)), c.usable);
  }
}

// Usable only with lpd; without it the switch still shows whether the boot script is there.
TEST(PrintersPage, BootSwitchFollowsLpdAndBootScript) {
  const bool hadLpd = std::filesystem::exists("/usr/sbin/lpd");
  if (hadLpd) std::rename("/usr/sbin/lpd", "/usr/sbin/lpd.away");
  for (bool lpd : {true, false}) {
    for (bool bootScript : {false, true}) {
      setPresent("/usr/sbin/lpd", lpd);
      setPresent("/etc/init.d/runlpd", bootScript);
      PrintersPage page;
      EXPECT_EQ(sensitive(bootSwitchOf(page.pageBox)), lpd) << lpd << bootScript;
      EXPECT_EQ(active(bootSwitchOf(page.pageBox)), bootScript) << lpd << bootScript;
    }
  }
  removePath("/etc/init.d/runlpd");
  removePath("/usr/sbin/lpd");
  if (hadLpd) std::rename("/usr/sbin/lpd.away", "/usr/sbin/lpd");
}

TEST(PrintersPage, DeleteWithOkRemovesRowFilesAndRestarts) {
  const auto all = samplePrinters();
  const std::vector<std::string> smbGone = {"rm /etc/dorvek/samba/smb1.sh -f",
                                            "rm /var/spool/lpd/smb1 -rf"};
  const struct {
    std::vector<PrinterRow> rows;
    int rowN;
    int editColumn;  // of row rowN, changed before deleting; -1 for none
    const char* editText;
    std::vector<std::string> removals;  // before the restart lines
    const char* remaining;
  } cases[] = {
      {all, 0, -1, "", {"rm /var/spool/lpd/lp1 -rf"}, "*net1 smb1"},
      {all, 1, -1, "", {"rm /var/spool/lpd/net1 -rf"}, "*lp1 smb1"},
      {all, 2, kColType, "sAMBA", smbGone, "*lp1 net1"},
      {all, 7, -1, "", smbGone, "*lp1 net1"},  // stale row_n: the last row
      {{all[1], all[2]}, 1, -1, "", smbGone, "*net1"},
      {all, 1, kColName, "x;reboot", {"rm '/var/spool/lpd/x;reboot' -rf"}, "*lp1 smb1"},
      {all, 2, kColName, "..", {}, "*lp1 net1"},  // a name leaving the spool
      {{all[0]}, 0, -1, "", {"rm /var/spool/lpd/lp1 -rf"}, ""},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(std::to_string(c.rowN) + " " + c.editText + " " + c.remaining);
    PrintersPage page(c.rows);
    if (c.editColumn >= 0) {
      gtk_clist_set_text(GTK_CLIST(page.table), c.rowN, c.editColumn, c.editText);
    }
    row_n = c.rowN;
    CommandRecorder recorder;
    DialogAnswer answer;
    answerNextDialog(GTK_RESPONSE_ACCEPT, &answer);
    click(deleteButtonOf(page.pageBox));
    EXPECT_TRUE(answer.seen);
    std::vector<std::string> expected = c.removals;
    expected.insert(expected.end(), restartCommands().begin(), restartCommands().end());
    EXPECT_EQ(recorder.lines(), expected);
    EXPECT_EQ(names(page.table), c.remaining);
    EXPECT_EQ(fileText("/etc/printcap"), formatPrintcap(tableRows(page.table)));
    const bool rowsLeft = *c.remaining != 0;
    EXPECT_EQ(sensitive(modifyButtonOf(page.pageBox)), rowsLeft);
    EXPECT_EQ(sensitive(deleteButtonOf(page.pageBox)), rowsLeft);
    if (rowsLeft) {
      GList* selection = GTK_CLIST(page.table)->selection;
      ASSERT_NE(selection, nullptr);
      EXPECT_EQ(GPOINTER_TO_INT(selection->data), row_n);
      EXPECT_LT(row_n, clistRows(page.table));
    }
  }
}

TEST(PrintersPage, DeleteAsksWithTheNameAndCancelChangesNothing) {
  for (const char* name : {"lp1", "<b>x&y</b>"}) {  // markup is shown literally
    PrintersPage page;
    gtk_clist_set_text(GTK_CLIST(page.table), 0, kColName, name);
    const std::string before = fileText("/etc/printcap");
    const auto rowsBefore = tableRows(page.table);
    for (int response : {GTK_RESPONSE_REJECT, GTK_RESPONSE_DELETE_EVENT}) {
      CommandRecorder recorder;
      DialogAnswer answer;
      answerNextDialog(response, &answer);
      click(deleteButtonOf(page.pageBox));
      EXPECT_EQ(answer.title, "Delete Printer Confirmation");
      EXPECT_EQ(answer.message, "Are you sure you want to delete '" + std::string(name) + "'?");
      EXPECT_TRUE(recorder.lines().empty());
      EXPECT_EQ(tableRows(page.table), rowsBefore);
      EXPECT_EQ(fileText("/etc/printcap"), before);
    }
  }
}

TEST(PrintersPage, AddAndModifyLockTheMainWindowUntilTheEditorCloses) {
  const struct {
    int rowN;  // -1: Add
    const char *title, *loadedName;
  } cases[] = {
      {-1, "Add New Printer", ""},
      {1, "Modify Printer", "net1"},
      {9, "Modify Printer", "smb1"},  // stale row_n: the last row
  };
  for (const auto& c : cases) {
    PrintersPage page;
    CommandRecorder recorder;
    c.rowN < 0 ? page.openAdd() : page.openModify(c.rowN);
    ASSERT_NE(page.editor(), nullptr) << c.title;
    EXPECT_STREQ(gtk_window_get_title(GTK_WINDOW(page.editor())), c.title);
    EXPECT_FALSE(sensitive(page.window));
    EXPECT_EQ(entryText(page.field(kRowName)), c.loadedName);
    click(findWidget(editorButtonRowOf(page.windowBox()), nullptr, 4));
    EXPECT_EQ(page.editor(), nullptr) << c.title;
    EXPECT_TRUE(sensitive(page.window)) << c.title;
  }
}
