// Hostile values through the real /bin/sh, with stand-ins that log their arguments: each tool
// gets each value as one literal argument. (Names and job ids in the spooler's command lines
// are quoted as the Jobs and Printers tests show; quoting itself is tested through /bin/sh.)
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
  }
  static Lines toolLog() {
    const Lines lines = fileLines("/tmp/log");
    unlink("/tmp/log");
    return lines;
  }
};

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
  DialogLog log;
  click(page.button(2));  // "_Test"
  EXPECT_EQ(log.text(),
            "Error while printing 'Test Page': <b>Error:</b> '$(touch PWNED)' "
            "\xef\xbf\xbd;`id`\n\n");
  click(page.type(kSamba));
  click(page.button(1));  // "_Ok"
  toolLog();
  ASSERT_EQ(std::system("echo page | /etc/dorvek/samba/t1.sh"), 0);
  EXPECT_EQ(toolLog(), Lines{"smbclient [//srv;touch${IFS}PWNED/q'$(touch${IFS}PWNED)'] [-U] "
                             "[o'brien%p$w;d`touch${IFS}PWNED`] [-W] [w\"g] [-c] [print -]"});
}
