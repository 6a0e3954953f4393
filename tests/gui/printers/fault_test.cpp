// The Printers page when the system fails it: /etc read-only or full, spooler tools missing.
#include <gtest/gtest.h>

#include <cstdlib>

#include "faults.h"
#include "printers_fixture.h"
#include "store/samba.h"
#include "store/spooler.h"

namespace {

const char* const kSambaScript = "/etc/dorvek/samba/smb1.sh";
const char* const kRefusal =
    "Error: Read only file system: Cannot write printcap!\nPlease make sure that your partition "
    "is not mounted as read only\n";

std::string systemFiles() {
  return fileText("/etc/printcap") + "|" + fileText("/etc/printers_info") + "|" +
         fileText(kSambaScript);
}

void setUpFiles() {
  setPresent("/usr/bin/smbclient", true);
  writeFile(kSambaScript, formatSambaScript({"srv", "laser", "user", "old", "WG", false}));
  writeFile("/etc/printers_info", "old info\n");
  writeFile("/dev/lp0", "");
}

// The Samba printer's Modify form with a changed description and password.
void editSambaPrinter(const PrintersPage& page) {
  page.openModify(2);
  gtk_entry_set_text(GTK_ENTRY(page.field(kRowDescription)), "changed");
  gtk_entry_set_text(GTK_ENTRY(page.field(kRowSmbPassword)), "changed");
}

void pressEditor(const PrintersPage& page, int button) {
  click(findWidget(editorButtonRowOf(page.windowBox()), nullptr, button));
  pumpEvents();
}

// What a death test's child saw, printed as the program ends.
DialogLog* childLog = nullptr;
std::string childBefore;
void reportAtExit() {
  std::fprintf(stderr, "%sunchanged=%d temps=%d\n", childLog->text().c_str(),
               systemFiles() == childBefore, strayTemps());
}

}  // namespace

// "_Ok" (Samba script, printcap, printers_info) and Delete on an /etc that takes no write:
// the message, the end with status 0, every file as it was and no temporary file left.
TEST(FaultsDeathTest, UnwritableEtcEndsSavingWithTheMessage) {
  testing::FLAGS_gtest_death_test_style = "threadsafe";
  for (const auto kind : {BrokenEtc::kReadOnly, BrokenEtc::kFull}) {
    for (const bool remove : {false, true}) {
      SCOPED_TRACE(std::to_string(kind) + (remove ? " Delete" : " Ok"));
      setUpFiles();
      PrintersPage page;
      EXPECT_EXIT(
          {
            if (!privateMounts()) std::_Exit(3);
            BrokenEtc etc(kind);
            if (!etc.ok()) std::_Exit(4);
            childBefore = systemFiles();
            childLog = new DialogLog;
            std::atexit(reportAtExit);
            CommandRecorder quiet;
            if (remove) {
              row_n = 1;
              click(deleteButtonOf(page.pageBox));
            } else {
              editSambaPrinter(page);
              pressEditor(page, 1);
            }
            std::_Exit(5);  // not reached: the printcap writer ends the program
          },
          testing::ExitedWithCode(0),
          std::string(remove ? "Delete Printer Confirmation: Are you sure you want to delete "
                               "'net1'\\?\n"
                             : "^") +
              kRefusal + "unchanged=1 temps=0\n$");
    }
  }
}

// "_Test" cannot put its printcap in place: it ends without a word, changing nothing.
TEST(Faults, UnwritableEtcEndsTheTestPrintSilently) {
  for (const auto kind : {BrokenEtc::kReadOnly, BrokenEtc::kFull}) {
    setUpFiles();
    PrintersPage page;
    editSambaPrinter(page);
    const std::string before = systemFiles();
    CommandRecorder recorder;
    DialogLog log;
    {
      BrokenEtc etc(kind);
      ASSERT_TRUE(etc.ok());
      pressEditor(page, 2);
      EXPECT_EQ(strayTemps(), 0) << kind;
    }
    EXPECT_EQ(systemFiles(), before) << kind;
    EXPECT_EQ(log.text(), "") << kind;
    EXPECT_EQ(recorder.lines(), Lines{}) << kind;
    EXPECT_NE(page.editor(), nullptr) << kind;
  }
}

// Without lpq, lpd and smbclient, "_Ok" and "_Test" run their real command lines and finish:
// the files are written, an empty queue listing counts as success, the printcap comes back.
// (lpr with no daemon to reach gives up after about 20 s; the alarm fails a real hang.)
TEST(Faults, MissingSpoolerToolsNeitherStopSavingNorHang) {
  alarm(180);
  setUpFiles();
  ToolsGone gone({"/usr/bin/lpq", "/usr/sbin/lpd", "/usr/bin/smbclient"});
  PrintersPage page;
  DialogLog log;
  writeFile("/etc/testpg.ascii", "test page\n");
  page.openAdd();
  gtk_entry_set_text(GTK_ENTRY(page.field(kRowName)), "new1");
  CommandRecorder recorder(false);
  pressEditor(page, 1);
  EXPECT_EQ(page.editor(), nullptr);
  EXPECT_EQ(fileText("/etc/printcap"), formatPrintcap(tableRows(page.table)));
  EXPECT_EQ(fileText("/etc/printers_info"), formatPrintersInfo(tableRows(page.table)));
  EXPECT_EQ(recorder.lines(), restartCommands());

  page.openModify(3);
  pressEditor(page, 2);
  EXPECT_EQ(log.text().rfind("Printing Confirmation: A Test Page has been sent", 0), 0u)
      << log.text();
  EXPECT_EQ(fileText("/etc/printcap"), formatPrintcap(tableRows(page.table)));
  alarm(0);
}
