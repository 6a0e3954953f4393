// The ThinPrint page: settings and Save (also on an unwritable /etc), the list editor, Import.
#include <clocale>
#include <filesystem>

#include "app/i18n.h"
#include "faults.h"
#include "thinprint_fixture.h"

TEST_F(ThinPrint, NoPageWithoutTheClient) {
  unlink(kThinPrintClient);
  build();
  EXPECT_EQ(gtk_notebook_get_n_pages(GTK_NOTEBOOK(mainNotebookOf(window))), 2);
}

TEST_F(ThinPrint, ReadsTheSettingsAndSavesThemUnlessEtcTakesNoWrite) {
  const std::string conf = "BANDWIDTH=256000\nPORT=4000\n/dev/usb/lp0 Laser\n";
  replaceFile(kThinPrintConf, conf);
  replaceFile(kThinPrintScript, "#!/bin/sh\n");
  build();
  EXPECT_TRUE(gtk_toggle_button_get_active(GTK_TOGGLE_BUTTON(tpEnableOf(page))));
  gtk_toggle_button_set_active(GTK_TOGGLE_BUTTON(tpBandwidthDefaultOf(page)), TRUE);  // own only
  EXPECT_TRUE(!sensitive(tpBandwidthEntryOf(page)) && sensitive(tpPortEntryOf(page)));
  click(tpAddOf(column));
  typeAndOk("Office Laser", "/dev/lp0");
  for (const auto kind : {BrokenEtc::kReadOnly, BrokenEtc::kFull}) {
    CommandRecorder recorder;
    BrokenEtc etc(kind);
    ASSERT_TRUE(etc.ok());
    EXPECT_EQ(click(tpSaveOf(column)),
              "Error: Read only filesystem: Cannot write ThinPrint configuration to /etc/dorvek "
              "folder.\n");
    EXPECT_EQ(readWholeFile(kThinPrintConf), conf);
    EXPECT_TRUE(recorder.lines().empty() && strayTemps() == 0);  // no killall: the client runs on
  }
  CommandRecorder recorder;
  click(tpSaveOf(column));
  EXPECT_EQ(readWholeFile(kThinPrintConf),
            "PORT=4000\n/dev/usb/lp0 Laser\n/dev/lp0 \"Office Laser\"\n");
  EXPECT_EQ(readWholeFile(kThinPrintScript),
            "#!/bin/sh\n/usr/share/thinprint/thnuclnt -port 4000 -dev /dev/usb/lp0 -name Laser "
            "-dev /dev/lp0 -name \"Office Laser\" \n");
  gtk_toggle_button_set_active(GTK_TOGGLE_BUTTON(tpEnableOf(page)), FALSE);
  click(tpSaveOf(column));  // disabled: the script and its boot link go
  EXPECT_EQ(
      recorder.lines(),
      (std::vector<std::string>{
          "killall -9 runthinprint", "killall -9 thnuclnt", "chmod 755 /etc/init.d/runthinprint",
          "ln -s /etc/init.d/runthinprint /etc/rcS.d/S76runthinprint", "/etc/init.d/runthinprint &",
          "killall -9 runthinprint", "killall -9 thnuclnt", "rm -f /etc/init.d/runthinprint",
          "rm -f /etc/rcS.d/S76runthinprint"}));
}

TEST_F(ThinPrint, EditorAndImportKeepModifyAndDeleteToAListWithRows) {
  replaceFile("/etc/printcap",
              "u:lp=/dev/usb/lp0:\ns:lp=/dev/ttyS0:\nn:rm=h:rp=q:\nb:lp=|/b.sh:\nodd:\n");
  build();
  EXPECT_FALSE(editable());
  click(tpAddOf(column));
  EXPECT_FALSE(sensitive(window));
  EXPECT_EQ(typeAndOk("", "x"),
            "Error: Couldn't add new printer: Printer name should not be empty!\n");
  EXPECT_EQ(typeAndOk("x", ""),
            "Error: Couldn't add new printer: Device name should not be empty!\n");
  typeAndOk("Office Laser", "/dev/lp0");
  EXPECT_TRUE(editorWindow() == nullptr && sensitive(window) && editable());
  click(tpModifyOf(column));  // shows the name without its stored quotes; Ok puts them back
  EXPECT_EQ(entryText(tpEditorNameEntryOf(tpEditorBoxOf(editorWindow()))), "Office Laser");
  typeAndOk("Office Laser", "/dev/lp1");
  EXPECT_EQ(listed(), "\"Office Laser\"=/dev/lp1;");
  click(tpDeleteOf(column));
  EXPECT_FALSE(clistRows(list) || editable());
  // Import takes local devices and the queue names of remote printers, once a name.
  click(tpImportOf(column));
  EXPECT_TRUE(editable());
  gtk_clist_set_text(GTK_CLIST(list), 0, 1, "/dev/mine");
  click(tpImportOf(column));
  EXPECT_EQ(listed(), "u=/dev/mine;s=/dev/ttyS0;n=n;b=b;");

  // In German the editor's texts come from the catalogue, and Modify, told by its translated
  // title, still changes the row in place; the page's own texts stay as they stand.
  ASSERT_EQ(std::system("localedef --no-archive -i de_DE -f UTF-8 de_DE.UTF-8"), 0);
  ASSERT_NE(std::setlocale(LC_ALL, "de_DE.UTF-8"), nullptr);
  const auto exe = std::filesystem::read_symlink("/proc/self/exe");
  bindtextdomain(SPM_TEXT_DOMAIN, (exe.parent_path() / "../locale").c_str());  // as built
  textdomain(SPM_TEXT_DOMAIN);
  click(tpModifyOf(column));
  EXPECT_STREQ(gtk_window_get_title(GTK_WINDOW(editorWindow())), "ThinPrint: Drucker ändern");
  typeAndOk("B", "/dev/lp1");
  EXPECT_EQ(listed().substr(0, 13), "B=/dev/lp1;s=");
  EXPECT_STREQ(gtk_button_get_label(GTK_BUTTON(tpSaveOf(column))), "Save");
  std::setlocale(LC_ALL, "");
}
