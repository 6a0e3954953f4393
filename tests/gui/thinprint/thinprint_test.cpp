// The ThinPrint page: settings and Save (also on an unwritable /etc), the list editor, Import.
#include <clocale>

#include "app/files.h"
#include "app/i18n.h"
#include "faults.h"
#include "printers/printers_fixture.h"
#include "thinprint/thinprint_editor.h"
#include "thinprint/thinprint_page.h"

// The ThinPrint client installed in the sandbox, the main window, and ways to drive the page.
class ThinPrint : public testing::Test {
 protected:
  void SetUp() override {
    ASSERT_EQ(std::system("mkdir -p /usr/share/thinprint /etc/dorvek /etc/rcS.d"), 0);
    for (const char* file : {kThinPrintConf, kThinPrintScript}) unlink(file);
    replaceFile("/usr/share/thinprint/thnuclnt", "#!/bin/sh\n", 0755);
  }
  void TearDown() override { gtk_widget_destroy(window); }
  void build() {
    CommandRecorder quiet;  // the Printers page asks the spooler
    window = buildMainWindow(PageBuilders{drawprinterlist, nullptr, thinprintpkg});
    page = thinprintPageOf(mainNotebookOf(window));
    if (page == nullptr) return;
    list = tpListOf(page);
    column = tpButtonColumnOf(page);
  }
  bool editable() const { return sensitive(tpModifyOf(column)) && sensitive(tpDeleteOf(column)); }
  // Clicks with the dialogs answered; gives their "title: message" lines.
  static std::string click(GtkWidget* button, int response = GTK_RESPONSE_ACCEPT) {
    DialogLog log(response);
    gtk_button_clicked(GTK_BUTTON(button));
    pumpEvents();
    return log.text();
  }
  std::string typeAndOk(const char* name, const char* device) const {
    GtkWidget* box = tpEditorBoxOf(editorOf(window));
    gtk_entry_set_text(GTK_ENTRY(tpEditorNameEntryOf(box)), name);
    gtk_entry_set_text(GTK_ENTRY(tpEditorDeviceEntryOf(box)), device);
    return click(tpEditorOkOf(box));
  }
  static bool clientsRun(int count) {  // within 5 s
    const std::string test = "test $(pgrep -xc thnuclnt) = " + std::to_string(count);
    for (int i = 0; i < 50; ++i, g_usleep(100000))
      if (std::system(test.c_str()) == 0) return true;
    return false;
  }
  std::string listed() const {  // "name=device;" a row, as stored
    std::string out;
    for (int r = 0; r < clistRows(list); ++r)
      out += clistCell(list, r, 0) + "=" + clistCell(list, r, 1) + ";";
    return out;
  }

  GtkWidget *window = nullptr, *page = nullptr, *list = nullptr, *column = nullptr;
};

TEST_F(ThinPrint, NoPageWithoutTheClient) {
  unlink("/usr/share/thinprint/thnuclnt");
  build();
  EXPECT_EQ(gtk_notebook_get_n_pages(GTK_NOTEBOOK(mainNotebookOf(window))), 2);
}

TEST_F(ThinPrint, ReadsTheSettingsAndSavesThemUnlessEtcTakesNoWrite) {
  const std::string conf = "PORT=4000\nBANDWIDTH=256000\n/dev/usb/lp0 Laser\n";
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
              kind == BrokenEtc::kFull
                  ? "Error: Disk full: Cannot write ThinPrint configuration to /etc/dorvek "
                    "folder: the disk is full.\n"
                  : "Error: Read only filesystem: Cannot write ThinPrint configuration to "
                    "/etc/dorvek folder.\n");
    EXPECT_EQ(readWholeFile(kThinPrintConf), conf);
    EXPECT_TRUE(recorder.lines().empty() && strayTemps() == 0);  // no killall: the client runs on
  }
  // Saved for real, twice: one client runs, with the saved settings. Saved disabled: none runs,
  // and the start script and its boot link are gone.
  replaceFile("/usr/share/thinprint/thnuclnt",
              "#!/bin/sh\nprintf '%s\\n' \"$@\" > /tmp/args\nwhile :; do sleep 1; done\n");
  CommandRecorder recorder(false);
  click(tpSaveOf(column));
  click(tpSaveOf(column));
  EXPECT_EQ(fileText(kThinPrintConf), golden("saved.thinprint.conf"));
  EXPECT_EQ(fileText(kThinPrintScript), golden("saved.runthinprint"));
  EXPECT_EQ(fileText(kThinPrintConf + std::string(".orig")), conf);  // hand-written: PORT first
  EXPECT_TRUE(clientsRun(1) && fileText("/tmp/args") == golden("saved.client-arguments"));
  gtk_toggle_button_set_active(GTK_TOGGLE_BUTTON(tpEnableOf(page)), FALSE);
  click(tpSaveOf(column));
  EXPECT_TRUE(clientsRun(0) && !pathExists(kThinPrintScript) && !pathExists(kThinPrintBootLink));
  EXPECT_EQ(recorder.lines(), goldenLines("thinprint-save.lines"));
}

TEST_F(ThinPrint, EditorAndImportKeepModifyAndDeleteToAListWithRows) {
  replaceFile("/etc/printcap",
              "u:lp=/dev/usb/lp0:\ns:lp=/dev/ttyS0:\n<b>n</b>:rm=h:rp=q:\nb:lp=|/b.sh:\nodd:\n");
  build();
  EXPECT_FALSE(editable());
  click(tpAddOf(column));
  EXPECT_FALSE(sensitive(window));
  EXPECT_EQ(typeAndOk("", "x") + typeAndOk("x", ""),
            "Error: Couldn't add new printer: Printer name should not be empty!\n"
            "Error: Couldn't add new printer: Device name should not be empty!\n");
  typeAndOk("Office Laser", "/dev/lp0");
  EXPECT_TRUE(editorOf(window) == nullptr && sensitive(window) && editable());
  click(tpModifyOf(column));  // shows the name without its stored quotes; Ok puts them back
  EXPECT_EQ(entryText(tpEditorNameEntryOf(tpEditorBoxOf(editorOf(window)))), "Office Laser");
  typeAndOk("Office Laser", "/dev/lp1");
  EXPECT_EQ(listed(), "\"Office Laser\"=/dev/lp1;");
  click(tpDeleteOf(column));
  EXPECT_FALSE(clistRows(list) || editable());
  // Import takes local devices and the queue names of remote printers, once a name.
  click(tpImportOf(column));
  EXPECT_TRUE(editable());
  gtk_clist_set_text(GTK_CLIST(list), 0, 1, "/dev/mine");
  click(tpImportOf(column));
  EXPECT_EQ(listed(), "u=/dev/mine;s=/dev/ttyS0;<b>n</b>=<b>n</b>;b=b;");
  gtk_clist_select_row(GTK_CLIST(list), 2, 0);  // the question shows the name, not its markup
  EXPECT_EQ(click(tpDeleteOf(column), GTK_RESPONSE_REJECT),
            "Delete Printer Confirmation: Are you sure you want to delete '<b>n</b>'?\n");

  // In German the editor's texts come from the catalogue, and Modify, told by its translated
  // title, still changes the row in place; the page's own texts stay as they stand.
  ASSERT_EQ(std::system("localedef --no-archive -i de_DE -f UTF-8 de_DE.UTF-8"), 0);
  ASSERT_NE(std::setlocale(LC_ALL, "de_DE.UTF-8"), nullptr);
  const auto exe = std::filesystem::read_symlink("/proc/self/exe");
  bindtextdomain(SPM_TEXT_DOMAIN, (exe.parent_path() / "../locale").c_str());  // as built
  textdomain(SPM_TEXT_DOMAIN);
  click(tpModifyOf(column));
  EXPECT_STREQ(gtk_window_get_title(GTK_WINDOW(editorOf(window))), "ThinPrint: Drucker ändern");
  typeAndOk("B", "/dev/lp1");
  EXPECT_EQ(listed(), "u=/dev/mine;s=/dev/ttyS0;B=/dev/lp1;b=b;");
  EXPECT_STREQ(gtk_button_get_label(GTK_BUTTON(tpSaveOf(column))), "Save");
  std::setlocale(LC_ALL, "");
}
