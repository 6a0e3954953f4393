// Shell and markup characters from the settings file, the printcap (Import) and the editor: the
// start script that "Save" writes runs as root and must pass each text as one literal argument.
#include "thinprint_fixture.h"

TEST_F(ThinPrint, HostileTextsReachTheClientLiterallyAndRunNothing) {
  replaceFile(kThinPrintClient, "#!/bin/sh\nprintf '%s\\n' \"$@\" > /tmp/thnuclnt.args\n");
  replaceFile("/etc/printcap", "$(touch PWN);`touch PWN`'x:lp=/dev/lp0:\n<b>q</b>:rm=h:rp=q:\n");
  replaceFile(kThinPrintConf,
              "BANDWIDTH=1;touch${IFS}PWN\nPORT=$(touch PWN)\n"
              "/dev/lp0;touch${IFS}PWN `touch PWN` x\n/dev/usb/lp0 \"Office Laser\"\n");
  build();
  click(tpImportOf(column));
  click(tpAddOf(column));
  typeAndOk("Office $(touch PWN)", "it's");
  gtk_clist_select_row(GTK_CLIST(list), 3, 0);  // the question shows the name, not its markup
  EXPECT_EQ(click(tpDeleteOf(column), GTK_RESPONSE_REJECT),
            "Delete Printer Confirmation: Are you sure you want to delete '<b>q</b>'?\n");
  gtk_toggle_button_set_active(GTK_TOGGLE_BUTTON(tpEnableOf(page)), TRUE);
  CommandRecorder recorder;
  click(tpSaveOf(column));
  ASSERT_EQ(std::system("cd /tmp && /etc/init.d/runthinprint"), 0);  // as Save starts it
  EXPECT_EQ(readWholeFile("/tmp/thnuclnt.args"),
            "-b\n1;touch${IFS}PWN\n-port\n$(touch PWN)\n-dev\n/dev/lp0;touch${IFS}PWN\n"
            "-name\n`touch PWN` x\n-dev\n/dev/usb/lp0\n-name\nOffice Laser\n-dev\n/dev/lp0\n"
            "-name\n$(touch PWN);`touch PWN`'x\n-dev\n<b>q</b>\n-name\n<b>q</b>\n"
            "-dev\nit's\n-name\nOffice $(touch PWN)\n");
  EXPECT_FALSE(pathExists("/tmp/PWN"));
}
