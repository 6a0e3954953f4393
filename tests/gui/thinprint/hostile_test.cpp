// ThinPrint names, devices and settings full of shell and markup characters, from a hand-edited
// settings file, from a hand-edited printcap (Import) and as typed: "Save" writes the start
// script and really runs it; the client must get each text as one literal argument and no
// marker file may appear.
#include <gtest/gtest.h>
#include <unistd.h>

#include <string>
#include <vector>

#include "app/files.h"
#include "printers/printers_page.h"
#include "thinprint/thinprint_editor.h"
#include "thinprint_fixture.h"

using namespace tptest;

namespace {

const char* const kMarker = "/tmp/PWNED";  // commands run in /tmp: a payload that ran leaves it
const char* const kArgs = "/tmp/thnuclnt.args";

std::vector<std::string> clientArguments() {
  // The script runs in the background; its client writes its arguments once, then ends.
  for (int i = 0; i < 2000 && !pathExists(kArgs); ++i) usleep(10000);
  std::vector<std::string> args;
  std::string arg;
  for (char c : readFile(kArgs)) {
    if (c == '\n') {
      args.push_back(arg);
      arg.clear();
    } else {
      arg += c;
    }
  }
  return args;
}

}  // namespace

TEST_F(ThinPrintPage, HostileTextsReachTheClientLiterallyAndRunNothing) {
  ASSERT_EQ(chdir("/tmp"), 0);
  unlink(kMarker);
  unlink(kArgs);
  writeFile(kThinPrintClient, std::string("#!/bin/sh\nfor a in \"$@\"; do printf '%s\\n' \"$a\"; "
                                          "done > ") +
                                  kArgs + ".part\nmv " + kArgs + ".part " + kArgs + "\n");
  chmod(kThinPrintClient, 0755);
  writeFile(
      "/etc/printcap",
      "a;touch PWNED|x:lp=/dev/lp0:\n<b>q</b>:rm=localhost:rp=q:\n`touch PWNED`:lp=/dev/lp0:\n");
  writeFile(kThinPrintConf,
            "BANDWIDTH=1;touch${IFS}PWNED\nPORT=$(touch PWNED)\n"
            "/dev/lp0;touch${IFS}PWNED `touch PWNED` x\n/dev/usb/lp0 \"Office Laser\"\n");
  {
    CommandRecorder quiet;
    window = buildMainWindow(PageBuilders{drawprinterlist, nullptr, thinprintpkg});
  }
  page = thinprintPageOf(mainNotebookOf(window));
  list = tpListOf(page);
  column = tpButtonColumnOf(page);
  click(tpImportOf(column));
  append(storedText("Office $(touch PWNED)"), storedText("it's"));
  ASSERT_EQ(clistRows(list), 6);

  // The delete question shows the name as it is, markup and all.
  tprow_n = 3;
  DialogAnswer question;
  answerNextDialog(GTK_RESPONSE_REJECT, &question);
  click(tpDeleteOf(column));
  EXPECT_EQ(question.message, "Are you sure you want to delete '<b>q</b>'?");

  gtk_toggle_button_set_active(GTK_TOGGLE_BUTTON(tpEnableOf(page)), TRUE);
  CommandRecorder recorder(false);
  EXPECT_EQ(save().first, "Config Saved...");
  EXPECT_EQ(recorder.lines(),
            (std::vector<std::string>{"killall -9 runthinprint", "killall -9 thnuclnt",
                                      "chmod 755 /etc/init.d/runthinprint",
                                      "ln -s /etc/init.d/runthinprint /etc/rcS.d/S76runthinprint",
                                      "/etc/init.d/runthinprint &"}));
  EXPECT_EQ(clientArguments(), (std::vector<std::string>{"-b",    "1;touch${IFS}PWNED",
                                                         "-port", "$(touch PWNED)",
                                                         "-dev",  "/dev/lp0;touch${IFS}PWNED",
                                                         "-name", "`touch PWNED` x",
                                                         "-dev",  "/dev/usb/lp0",
                                                         "-name", "Office Laser",
                                                         "-dev",  "/dev/lp0",
                                                         "-name", "a;touch PWNED",
                                                         "-dev",  "<b>q</b>",
                                                         "-name", "<b>q</b>",
                                                         "-dev",  "/dev/lp0",
                                                         "-name", "`touch PWNED`",
                                                         "-dev",  "it's",
                                                         "-name", "Office $(touch PWNED)"}));
  EXPECT_FALSE(pathExists(kMarker));
}
