// Hostile names and values through the real /bin/sh, with stand-ins that log their arguments:
// each tool gets each value as one literal argument.
#include <sstream>

#include "jobs_window.h"

class Hostile : public WithStandIns {
 protected:
  void SetUp() override {
    const std::string tool =
        "#!/bin/sh\n{ printf %s \"${0##*/}\"; for a; do printf ' [%s]' "
        "\"$a\"; done; echo; } >> /tmp/log\n[ \"${0##*/}\" != lpq ] || cat " +
        kBin + "report\n";
    standIns(tool, tool);
    writeTool("/usr/bin/smbclient", tool);
    writeFile(kBin + "report", "Rank Pr/Class\n1st o A ;touch${IFS}PWNED; f 1 1\n");
  }
  static Lines toolLog() {
    Lines lines;
    std::istringstream log(fileText("/tmp/log"));
    for (std::string line; std::getline(log, line);) lines.push_back(line);
    unlink("/tmp/log");
    return lines;
  }
};

// Per name, last first (a deletion shifts the rows after it): Refresh, Delete and Delete All
// of the Jobs page; Delete of the Printers page asks about the name literally and removes only
// its spool folder.
TEST_F(Hostile, NamesReachTheToolsLiterally) {
  const Lines names = {"a;touch PWNED", "$(touch PWNED)",     "`touch PWNED`", "it's \"x\"", "*",
                       "<b>bold</b>",   "x&&touch${IFS}PWNED"};
  std::string printcap;
  for (const std::string& name : names) printcap += name + "|x:lp=/dev/lp0:\n";
  writeFile("/etc/printcap", printcap);
  GtkWidget* window = buildJobsWindow();
  toolLog();
  for (int i = static_cast<int>(names.size()) - 1; i >= 0; --i) {
    const std::string name = names[static_cast<size_t>(i)], spool = "/var/spool/lpd/" + name;
    SCOPED_TRACE(name);
    gtk_combo_box_set_active(GTK_COMBO_BOX(jobsChooserOf(pageOf(window, 1))), i);
    for (int button : {1, 2, 3}) click(jobsButton(window, button));
    const std::string lpq = "lpq [-P] [" + name + "]", lprm = "lprm [-P] [" + name + "] ";
    EXPECT_EQ(toolLog(), (Lines{lpq, lprm + "[;touch${IFS}PWNED;]", lpq, lprm + "[all]"}));
    writeFile("/var/spool/lpd/a/log", "");
    if (name.find('/') == std::string::npos) writeFile(spool + "/log", "");
    DialogAnswer answer;
    answerNextDialog(GTK_RESPONSE_ACCEPT, &answer);
    row_n = i;
    click(deleteButtonOf(pageOf(window, 0)));
    EXPECT_EQ(answer.message, "Are you sure you want to delete '" + name + "'?");
    EXPECT_EQ(toolLog(), (Lines{"lprm [-a] [all]", "checkpc [-f]", "lpd"}));
    EXPECT_TRUE(!pathExists(spool + "/log") && pathExists("/var/spool/lpd/a/log"));
  }
  gtk_widget_destroy(window);
}

// The test print's failure as the spooler wrote it (markup, a byte that is not UTF-8); the
// Samba script hands smbclient the values as typed.
TEST_F(Hostile, TestPrintReportAndSambaValuesStayLiteral) {
  PrintersPage page;
  writeFile(kBin + "report", "Printer: t1@localhost\n<b>Error:</b> '$(touch PWNED)' \xff;`id`\n");
  page.open(-1);
  const std::pair<InfoRow, const char*> values[] = {
      {kRowName, "t1"},           {kRowServer, "srv;touch${IFS}PWNED"},
      {kRowSmbUser, "o'brien"},   {kRowShared, "q'$(touch${IFS}PWNED)'"},
      {kRowSmbWorkgroup, "w\"g"}, {kRowSmbPassword, "p$w;d`touch${IFS}PWNED`"}};
  for (const auto& [row, text] : values) page.set(row, text);
  DialogAnswer answer;
  answerNextDialog(GTK_RESPONSE_ACCEPT, &answer);
  click(page.button(2));  // "_Test"
  EXPECT_EQ(answer.message, "<b>Error:</b> '$(touch PWNED)' \xef\xbf\xbd;`id`\n");
  click(page.type(kSamba));
  click(page.button(1));  // "_Ok"
  toolLog();
  ASSERT_EQ(std::system("echo page | /etc/dorvek/samba/t1.sh"), 0);
  EXPECT_EQ(toolLog(), Lines{"smbclient [//srv;touch${IFS}PWNED/q'$(touch${IFS}PWNED)'] [-U] "
                             "[o'brien%p$w;d`touch${IFS}PWNED`] [-W] [w\"g] [-c] [print -]"});
}
