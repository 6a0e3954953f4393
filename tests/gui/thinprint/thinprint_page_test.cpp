// The ThinPrint page: when it exists, its paths, reading the settings file and Save.
#include <sys/stat.h>

#include "thinprint_fixture.h"

namespace tptest {
namespace {

using Saved = std::pair<std::string, std::string>;
const Saved kSaved = {"Config Saved...", "ThinPrint configuration has been saved successfully."};
const std::vector<std::string> kStop = {"killall -9 runthinprint", "killall -9 thnuclnt"};

TEST_F(ThinPrintPage, NoPageWithoutTheClient) {
  unlink(kThinPrintClient);
  window = buildMainWindow(PageBuilders{standInPrintersPage, nullptr, thinprintpkg});
  EXPECT_EQ(gtk_notebook_get_n_pages(GTK_NOTEBOOK(mainNotebookOf(window))), 2);
}

TEST_F(ThinPrintPage, EveryNamedPathReachesItsWidget) {
  build();
  EXPECT_STREQ(gtk_notebook_get_tab_label_text(GTK_NOTEBOOK(notebook), page), "ThinPrint");
  std::string labels;
  for (GtkWidget* button : {tpEnableOf(page), tpBandwidthDefaultOf(page), tpPortDefaultOf(page),
                            tpImportOf(column), tpAddOf(column), tpModifyOf(column),
                            tpDeleteOf(column), tpSaveOf(column), tpExitOf(column)}) {
    ASSERT_TRUE(GTK_IS_BUTTON(button)) << labels;
    labels += std::string(gtk_button_get_label(GTK_BUTTON(button))) + "|";
  }
  EXPECT_EQ(labels, "Enable ThinPrint|Use Default|Use Default|Import|Add|Modify|Delete|Save|Exit|");
  EXPECT_TRUE(GTK_IS_ENTRY(tpBandwidthEntryOf(page)));
  EXPECT_TRUE(GTK_IS_ENTRY(tpPortEntryOf(page)));
  ASSERT_TRUE(GTK_IS_CLIST(list));
  EXPECT_EQ(GTK_CLIST(list)->columns, 2);
  EXPECT_TRUE(GTK_IS_FIXED(findWidget(column, nullptr, 5)));
  EXPECT_EQ(tpPageOfList(list), page);
  EXPECT_EQ(tpMainWindowOfList(list), window);
  EXPECT_EQ(tpButtonColumnOfList(list), column);
  EXPECT_EQ(tpPageOfButton(tpSaveOf(column)), page);
  EXPECT_EQ(tpListOfButton(tpImportOf(column)), list);
}

TEST_F(ThinPrintPage, UseDefaultSwitchesItsOwnEntryAndKeepsTheText) {
  build();
  GtkWidget* const entries[] = {tpBandwidthEntryOf(page), tpPortEntryOf(page)};
  GtkWidget* const defaults[] = {tpBandwidthDefaultOf(page), tpPortDefaultOf(page)};
  for (int i = 0; i < 2; ++i) {
    setValue(defaults[i], entries[i], "1234");
    EXPECT_TRUE(sensitive(entries[i]));
    EXPECT_FALSE(sensitive(entries[1 - i]));
    gtk_toggle_button_set_active(GTK_TOGGLE_BUTTON(defaults[i]), TRUE);
    EXPECT_FALSE(sensitive(entries[i]));
    EXPECT_EQ(entryText(entries[i]), "1234");
  }
}

TEST_F(ThinPrintPage, ReadsTheSettingsFileIntoTheWidgets) {
  const struct {
    const char* conf;  // nullptr: no file
    bool script;
    const char *bandwidth, *port;  // nullptr: "Use Default" stays active
    Rows rows;
  } cases[] = {
      {nullptr, false, nullptr, nullptr, {}},
      {"BANDWIDTH=256000\nPORT=4000\n/dev/usb/lp0 Laser\n", true, "256000", "4000",
       Rows{{"Laser", "/dev/usb/lp0"}}},
      // A keyword line without "=" is in use, with an empty value.
      {"BANDWIDTH\n", false, "", nullptr, {}},
      // The last of several wins; only the exact case at the very start is a keyword.
      {"BANDWIDTH=1\nBANDWIDTH=2\n bandwidth=3\nPort=5\n", false, "2", nullptr,
       Rows{{"", "bandwidth=3"}, {"", "Port=5"}}},
      // A device beginning with PORT makes a port line; a blank line an empty row.
      {"PORTABLE x=y\n\n/dev/lp0 \"Office Laser\"\r\n", false, nullptr, "y",
       Rows{{"", ""}, {"\"Office Laser\"", "/dev/lp0"}}},
      {"/dev/lp0 Last-line-without-feed", false, nullptr, nullptr,
       Rows{{"Last-line-without-feed", "/dev/lp0"}}},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.conf ? c.conf : "no file");
    reset();
    if (c.conf) writeFile(kThinPrintConf, c.conf);
    if (c.script) writeFile(kThinPrintScript, "#!/bin/sh\n");
    build();
    EXPECT_EQ(active(tpEnableOf(page)), c.script);
    EXPECT_EQ(sensitive(tpBandwidthEntryOf(page)), c.bandwidth != nullptr);
    EXPECT_EQ(active(tpBandwidthDefaultOf(page)), c.bandwidth == nullptr);
    EXPECT_EQ(entryText(tpBandwidthEntryOf(page)), c.bandwidth ? c.bandwidth : "");
    EXPECT_EQ(sensitive(tpPortEntryOf(page)), c.port != nullptr);
    EXPECT_EQ(active(tpPortDefaultOf(page)), c.port == nullptr);
    EXPECT_EQ(entryText(tpPortEntryOf(page)), c.port ? c.port : "");
    EXPECT_EQ(listRows(list), c.rows);
    expectEditable(!c.rows.empty());
    EXPECT_TRUE(sensitive(tpAddOf(column)));
  }
}

TEST_F(ThinPrintPage, SaveWritesTheFileTheScriptAndRunsTheCommandLines) {
  const struct {
    bool enabled;
    const char *bandwidth, *port;  // nullptr: leave "Use Default" active
    const char* typedIntoDefault;  // into the bandwidth entry while its default is active
    Rows rows;
    const char *conf, *scriptLine;  // nullptr: no script
  } cases[] = {
      {true, " \t256000 ", nullptr, nullptr, Rows{{"Laser", "/dev/usb/lp0"}},
       "BANDWIDTH=256000\n/dev/usb/lp0 Laser\n",
       "/usr/share/thinprint/thnuclnt -b 256000 -dev /dev/usb/lp0 -name Laser "},
      {true, "   ", "9100", nullptr, Rows{{"\"Office Laser\"", "/dev/lp0"}, {"B", "b"}},
       "PORT=9100\n/dev/lp0 \"Office Laser\"\nb B\n",
       "/usr/share/thinprint/thnuclnt -port 9100 -dev /dev/lp0 -name \"Office Laser\" -dev b "
       "-name B "},
      {true, nullptr, nullptr, "512", {}, "", "/usr/share/thinprint/thnuclnt "},
      {false, "64000", "4000", nullptr, Rows{{"", ""}}, "BANDWIDTH=64000\nPORT=4000\n \n", nullptr},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.conf);
    reset();
    build();
    gtk_toggle_button_set_active(GTK_TOGGLE_BUTTON(tpEnableOf(page)), c.enabled);
    if (c.bandwidth) setValue(tpBandwidthDefaultOf(page), tpBandwidthEntryOf(page), c.bandwidth);
    if (c.typedIntoDefault)
      gtk_entry_set_text(GTK_ENTRY(tpBandwidthEntryOf(page)), c.typedIntoDefault);
    if (c.port) setValue(tpPortDefaultOf(page), tpPortEntryOf(page), c.port);
    for (const auto& [name, device] : c.rows) append(name, device);
    CommandRecorder recorder;
    EXPECT_EQ(save(), kSaved);
    EXPECT_EQ(readFile(kThinPrintConf), c.conf);
    std::vector<std::string> expected = kStop;
    if (c.scriptLine) {
      EXPECT_EQ(readFile(kThinPrintScript), std::string("#!/bin/sh\n") + c.scriptLine + "\n");
      struct stat st {};
      ASSERT_EQ(stat(kThinPrintScript, &st), 0);
      EXPECT_EQ(st.st_mode & 07777, 0755u);
      expected.insert(expected.end(), {"chmod 755 /etc/init.d/runthinprint",
                                       "ln -s /etc/init.d/runthinprint /etc/rcS.d/S76runthinprint",
                                       "/etc/init.d/runthinprint &"});
    } else {
      EXPECT_NE(access(kThinPrintScript, F_OK), 0);
      expected.insert(expected.end(),
                      {"rm -f /etc/init.d/runthinprint", "rm -f /etc/rcS.d/S76runthinprint"});
    }
    EXPECT_EQ(recorder.lines(), expected);
  }
}

// An unwritable settings folder stops Save before any command. An unwritable start script
// (a folder in its place) leaves the client stopped, the settings saved and the user told so.
TEST_F(ThinPrintPage, UnwritableFilesStopSaveAtTheRightPoint) {
  for (bool folderGone : {true, false}) {
    reset();
    build();
    gtk_toggle_button_set_active(GTK_TOGGLE_BUTTON(tpEnableOf(page)), TRUE);
    ASSERT_EQ(folderGone ? rmdir("/etc/dorvek") : mkdir(kThinPrintScript, 0755), 0);
    CommandRecorder recorder;
    if (folderGone) {
      EXPECT_EQ(save(), Saved("Error: Read only filesystem",
                              "Cannot write ThinPrint configuration to /etc/dorvek folder."));
      EXPECT_TRUE(recorder.lines().empty());
      EXPECT_NE(access(kThinPrintScript, F_OK), 0);
    } else {
      EXPECT_EQ(save(), kSaved);
      EXPECT_EQ(recorder.lines(), kStop);
      EXPECT_EQ(access(kThinPrintConf, F_OK), 0);
      rmdir(kThinPrintScript);
    }
  }
}

}  // namespace
}  // namespace tptest
