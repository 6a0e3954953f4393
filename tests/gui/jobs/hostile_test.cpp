// Hostile names and values end to end: a hand-edited printcap, queue reports and Samba values
// full of shell and markup characters. The command lines really run through /bin/sh, with
// stand-ins for the spooler tools that log their arguments; no marker file may ever appear,
// every tool must get each value as one literal argument, and dialogs must show it literally.
#include <gtest/gtest.h>
#include <unistd.h>

#include <cstdlib>
#include <string>
#include <vector>

#include "app/files.h"
#include "app/shell.h"
#include "app/startup.h"
#include "jobs/jobs_page.h"
#include "printers/printers_fixture.h"
#include "store/spooler.h"

namespace {

// Commands run in /tmp, so every payload below that ever ran would leave this file.
const char* const kMarker = "/tmp/PWNED";
const char* const kToolLog = "/tmp/hostile-tools.log";
const char* const kStandIns = "/usr/local/hostile-bin";

// Printer names a hand-edited printcap may hold; "plain" is row 0, these follow in order.
const std::vector<std::string> kNames = {
    "a;touch PWNED", "$(touch PWNED)",      "`touch PWNED`", "it's \"quoted\"", "*",
    "<b>bold</b>",   "x&&touch${IFS}PWNED",
};

// One job line per hostile owner, class and job id (lpq pads with blanks, so none holds one).
const std::string kReport =
    "Printer: x@localhost\n"
    " Rank   Owner/ID               Pr/Class Job Files                 Size Time\n"
    "1st $(touch${IFS}PWNED)@h `touch${IFS}PWNED` ;touch${IFS}PWNED; <b>f</b> 12 "
    "10:00:00\n"
    "2nd o'brien\"x\" * '$(id)' a.txt 1 10:00:01\n";

// Logs "tool [arg] [arg]..." per call; lpq prints the report it is given.
void installStandIns() {
  const std::string log = std::string(">> ") + kToolLog;
  const std::string script =
      "#!/bin/sh\n{ printf '%s' \"${0##*/}\"; for a in \"$@\"; do printf ' "
      "[%s]' \"$a\"; done; echo; } " +
      log + "\n[ \"${0##*/}\" = lpq ] && cat " + kStandIns + "/report\nexit 0\n";
  for (const char* tool : {"lpq", "lprm", "lpr", "lpd", "checkpc"}) {
    writeFile(std::string(kStandIns) + "/" + tool, script);
    chmod((std::string(kStandIns) + "/" + tool).c_str(), 0755);
  }
  writeFile("/usr/bin/smbclient", script);
  chmod("/usr/bin/smbclient", 0755);
}

std::string hostilePrintcap() {
  std::string text = "# edited by hand\nplain|Plain:\\\n\t:lp=/dev/lp0:\\\n\t:sh:\n";
  for (const std::string& name : kNames) {
    text += name + "|Hostile " + name + ":\\\n\t:lp=/dev/lp0:\\\n\t:sh:\n";
  }
  return text;
}

Lines toolLog() {
  Lines lines;
  std::string line;
  for (char c : fileText(kToolLog)) {
    if (c != '\n') {
      line += c;
    } else {
      lines.push_back(line);
      line.clear();
    }
  }
  unlink(kToolLog);
  return lines;
}

Lines names(const std::vector<PrinterRow>& rows) {
  Lines out;
  for (const PrinterRow& row : rows) out.push_back(row[kColName]);
  return out;
}

class Hostile : public testing::Test {
 protected:
  void SetUp() override {
    ASSERT_EQ(std::system("mkdir -p /usr/lib/lprng/filters /usr/local/hostile-bin "
                          "/etc/dorvek/samba /var/spool/lpd && : > /dev/lp0 && "
                          ": > /usr/lib/lprng/filters/lpf"),
              0);
    installStandIns();
    writeFile(std::string(kStandIns) + "/report", kReport);
    ASSERT_EQ(chdir("/tmp"), 0);
    path_ = getenv("PATH");
    setenv("PATH", (std::string(kStandIns) + ":" + path_).c_str(), 1);
    unlink(kMarker);
    unlink(kToolLog);
    writeFile("/etc/printcap", hostilePrintcap());
    row_n = 0;
    jrow_n = 0;
    CommandRecorder quiet;
    window_ =
        buildMainWindow(PageBuilders{drawprinterlist, drawprintjobs, nullptr, tabpage_switched});
    notebook_ = mainNotebookOf(window_);
    printers_ = gtk_notebook_get_nth_page(GTK_NOTEBOOK(notebook_), 0);
    jobs_ = gtk_notebook_get_nth_page(GTK_NOTEBOOK(notebook_), 1);
    table_ = printerTableOf(printers_);
    ASSERT_EQ(names(tableRows(table_)).size(), kNames.size() + 1);
  }
  void TearDown() override {
    if (GtkWidget* open = editor()) gtk_widget_destroy(open);
    gtk_widget_destroy(window_);
    pumpEvents();
    setenv("PATH", path_.c_str(), 1);
    EXPECT_FALSE(pathExists(kMarker)) << "a value ran as a command";
  }
  GtkWidget* editor() const {
    GList* windows = gtk_window_list_toplevels();
    GtkWidget* found = nullptr;
    for (GList* w = windows; w != nullptr; w = w->next) {
      if (gtk_window_get_transient_for(GTK_WINDOW(w->data)) == GTK_WINDOW(window_)) {
        found = GTK_WIDGET(w->data);
      }
    }
    g_list_free(windows);
    return found;
  }
  // Presses button `index` of the open editor's button row; the dialog that runs, if any.
  std::string pressInEditor(int index) {
    DialogAnswer answer;
    answerNextDialog(GTK_RESPONSE_ACCEPT, &answer);
    GtkWidget* box = findWidget(editor(), nullptr, 1);
    gtk_button_clicked(GTK_BUTTON(findWidget(editorButtonRowOf(box), nullptr, index)));
    pumpEvents();
    return answer.message;
  }
  void openModify(int row) {
    row_n = row;
    gtk_button_clicked(GTK_BUTTON(modifyButtonOf(printers_)));
    pumpEvents();
    ASSERT_NE(editor(), nullptr);
  }

  std::string path_;
  GtkWidget *window_ = nullptr, *notebook_ = nullptr, *printers_ = nullptr, *jobs_ = nullptr,
            *table_ = nullptr;
};

}  // namespace

// Delete: the question names the printer literally, rm gets its spool folder as one argument
// (a folder named "*" takes no other along), and the printcap keeps every other name intact.
TEST_F(Hostile, DeleteRemovesOnlyThatPrinter) {
  const char* const spoolLines[] = {
      "rm '/var/spool/lpd/a;touch PWNED' -rf",
      "rm '/var/spool/lpd/$(touch PWNED)' -rf",
      "rm '/var/spool/lpd/`touch PWNED`' -rf",
      "rm '/var/spool/lpd/it'\\''s \"quoted\"' -rf",
      "rm '/var/spool/lpd/*' -rf",
      nullptr,  // a name with '/' never becomes a path to remove
      "rm '/var/spool/lpd/x&&touch${IFS}PWNED' -rf",
  };
  for (std::size_t i = kNames.size(); i-- > 0;) {
    const std::string& name = kNames[i];
    SCOPED_TRACE(name);
    ASSERT_EQ(std::system("mkdir -p /var/spool/lpd/keep /var/spool/lpd/a"), 0);
    if (spoolLines[i] != nullptr) writeFile("/var/spool/lpd/" + name + "/log", "x");
    Lines expected = restartCommands();
    if (spoolLines[i] != nullptr) expected.insert(expected.begin(), spoolLines[i]);
    CommandRecorder recorder(false);
    DialogAnswer answer;
    answerNextDialog(GTK_RESPONSE_ACCEPT, &answer);
    row_n = static_cast<int>(i) + 1;
    gtk_button_clicked(GTK_BUTTON(deleteButtonOf(printers_)));
    pumpEvents();
    EXPECT_EQ(answer.title, "Delete Printer Confirmation");
    EXPECT_EQ(answer.message, "Are you sure you want to delete '" + name + "'?");
    EXPECT_EQ(recorder.lines(), expected);
    EXPECT_EQ(toolLog(), (Lines{"lprm [-a] [all]", "checkpc [-f]", "lpd"}));
    EXPECT_FALSE(pathExists("/var/spool/lpd/" + name + "/log"));
    EXPECT_TRUE(pathExists("/var/spool/lpd/keep") && pathExists("/var/spool/lpd/a"));
    Lines left = {"plain"};
    left.insert(left.end(), kNames.begin(), kNames.begin() + static_cast<long>(i));
    EXPECT_EQ(names(parsePrintcap(fileText("/etc/printcap")).rows), left);
    EXPECT_FALSE(pathExists(kMarker));
  }
}

// Modify: "_Ok" and "_Test" refuse a hostile name before any spooler command; saving another
// printer writes every hostile name back unchanged and runs only the restart.
TEST_F(Hostile, ModifyRefusesTheNameAndSavingKeepsThemAll) {
  for (std::size_t i = 0; i < kNames.size(); ++i) {
    SCOPED_TRACE(kNames[i]);
    openModify(static_cast<int>(i) + 1);
    EXPECT_EQ(entryText(infoFieldOf(printerInfoBoxOf(findWidget(editor(), nullptr, 1)), kRowName)),
              kNames[i]);
    CommandRecorder recorder(false);
    for (int button : {1, 2}) {
      EXPECT_EQ(pressInEditor(button), "Printer Name should only be alphanumeric with no space!");
    }
    EXPECT_EQ(recorder.lines(), Lines{});
    gtk_widget_destroy(editor());
  }
  openModify(0);
  CommandRecorder recorder(false);
  EXPECT_EQ(pressInEditor(1), "");
  EXPECT_EQ(recorder.lines(), restartCommands());
  Lines all = {"plain"};
  all.insert(all.end(), kNames.begin(), kNames.end());
  EXPECT_EQ(names(parsePrintcap(fileText("/etc/printcap")).rows), all);
}

// "_Test": the queue report's failure is shown as the spooler wrote it, markup and bytes that
// are not UTF-8 included; only the intended lines run.
TEST_F(Hostile, TestPrintShowsTheReportLiterally) {
  writeFile(std::string(kStandIns) + "/report",
            "Printer: plain@localhost\n<b>Error:</b> cannot open '$(touch PWNED)' \xff;`id`\n");
  openModify(0);
  CommandRecorder recorder(false);
  EXPECT_EQ(pressInEditor(2), "<b>Error:</b> cannot open '$(touch PWNED)' \xef\xbf\xbd;`id`\n");
  for (const std::string& line : recorder.lines()) {
    const Lines restart = restartCommands();
    const bool intended = lineAt(restart, line) >= 0 || line == "lpr /etc/testpg.ascii" ||
                          line == "lpq -P plain > /tmp/lprqueue" || line == "rm /tmp/lprqueue -f";
    EXPECT_TRUE(intended) << line;
  }
  EXPECT_GE(lineAt(toolLog(), "lpq [-P] [plain]"), 0);
}

// Jobs page: each hostile queue is listed, its hostile cells shown as they are, and Delete and
// Delete All give lprm the printer and the job id as single literal arguments.
TEST_F(Hostile, JobsDeleteAndDeleteAllNameTheQueueLiterally) {
  GtkWidget* chooser = jobsChooserOf(jobs_);
  GtkWidget* jobTable = jobTableOf(jobs_);
  GtkWidget* buttons = jobsButtonRowOf(jobs_);
  for (std::size_t i = 0; i < kNames.size(); ++i) {
    const std::string& name = kNames[i];
    SCOPED_TRACE(name);
    gtk_notebook_set_current_page(GTK_NOTEBOOK(notebook_), 0);
    gtk_combo_box_set_active(GTK_COMBO_BOX(chooser), static_cast<int>(i) + 1);
    jrow_n = 0;
    CommandRecorder recorder(false);
    gtk_notebook_set_current_page(GTK_NOTEBOOK(notebook_), 1);
    ASSERT_EQ(clistRows(jobTable), 2);
    EXPECT_EQ(clistCell(jobTable, 0, kJobOwner), "$(touch${IFS}PWNED)@h");
    EXPECT_EQ(clistCell(jobTable, 0, kJobClass), "`touch${IFS}PWNED`");
    EXPECT_EQ(clistCell(jobTable, 0, kJobId), ";touch${IFS}PWNED;");
    EXPECT_EQ(clistCell(jobTable, 1, kJobOwner), "o'brien\"x\"");
    EXPECT_EQ(clistCell(jobTable, 1, kJobId), "'$(id)'");
    gtk_button_clicked(GTK_BUTTON(findWidget(buttons, nullptr, 2)));
    jrow_n = 1;
    gtk_button_clicked(GTK_BUTTON(findWidget(buttons, nullptr, 2)));
    gtk_button_clicked(GTK_BUTTON(findWidget(buttons, nullptr, 3)));
    const std::string q = shellQuote(name);
    const Lines list = {"lpq -P " + q + " > /tmp/lprqueue", "rm /tmp/lprqueue"};
    Lines expected = list;
    expected.push_back("lprm -P " + q + " ';touch${IFS}PWNED;'");
    expected.insert(expected.end(), list.begin(), list.end());
    expected.push_back("lprm -P " + q + " ''\\''$(id)'\\'''");
    expected.insert(expected.end(), list.begin(), list.end());
    expected.push_back("lprm -P " + q + " all");
    EXPECT_EQ(recorder.lines(), expected);
    const std::string lpq = "lpq [-P] [" + name + "]";
    EXPECT_EQ(toolLog(),
              (Lines{lpq, "lprm [-P] [" + name + "] [;touch${IFS}PWNED;]", lpq,
                     "lprm [-P] [" + name + "] ['$(id)']", lpq, "lprm [-P] [" + name + "] [all]"}));
  }
}

// Samba values with quotes, '$' and ';': the script the editor writes hands them to smbclient
// as they were typed, and runs nothing else.
TEST_F(Hostile, SambaScriptPassesValuesLiterally) {
  gtk_button_clicked(GTK_BUTTON(widgetAt(printers_, {3, 1})));
  pumpEvents();
  GtkWidget* box = findWidget(editor(), nullptr, 1);
  GtkWidget* info = printerInfoBoxOf(box);
  gtk_toggle_button_set_active(GTK_TOGGLE_BUTTON(typeButtonOf(printerTypeBoxOf(box), kSamba)),
                               TRUE);
  const std::pair<InfoRow, const char*> values[] = {
      {kRowName, "smb1"},
      {kRowServer, "srv;touch${IFS}PWNED"},
      {kRowShared, "q'$(touch${IFS}PWNED)'"},
      {kRowSmbUser, "o'brien"},
      {kRowSmbPassword, "p$w;d`touch${IFS}PWNED`"},
      {kRowSmbWorkgroup, "w\"g;$HOME"},
  };
  for (const auto& [row, text] : values) {
    gtk_entry_set_text(GTK_ENTRY(infoFieldOf(info, row)), text);
  }
  {
    CommandRecorder quiet;
    EXPECT_EQ(pressInEditor(1), "");
  }
  ASSERT_EQ(std::system("echo page | /etc/dorvek/samba/smb1.sh"), 0);
  EXPECT_EQ(toolLog(), (Lines{"smbclient [//srv;touch${IFS}PWNED/q'$(touch${IFS}PWNED)'] "
                              "[-U] [o'brien%p$w;d`touch${IFS}PWNED`] [-W] [w\"g;$HOME] [-c] "
                              "[print -]"}));
}
