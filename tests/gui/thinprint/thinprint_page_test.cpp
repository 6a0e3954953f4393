// The ThinPrint page: when it exists, its paths, reading the settings file and Save.
#include <sys/stat.h>

#include "thinprint_fixture.h"

namespace tptest {
namespace {

TEST_F(ThinPrintPage, NoPageWithoutTheClient) {
  unlink(kThinPrintClient);
  PageBuilders pages;
  pages.printers = standInPrintersPage;
  pages.thinprint = thinprintpkg;
  window = buildMainWindow(pages);
  EXPECT_EQ(gtk_notebook_get_n_pages(GTK_NOTEBOOK(mainNotebookOf(window))), 2);
}

TEST_F(ThinPrintPage, EveryNamedPathReachesItsWidget) {
  build();
  EXPECT_STREQ(gtk_notebook_get_tab_label_text(GTK_NOTEBOOK(notebook), page), "ThinPrint");
  struct Expected {
    const char* what;
    GtkWidget* widget;
    GType type;
    const char* label;  // button label, when it is a button
  };
  const Expected widgets[] = {
      {"enable", tpEnableOf(page), GTK_TYPE_CHECK_BUTTON, "Enable ThinPrint"},
      {"bandwidth entry", tpBandwidthEntryOf(page), GTK_TYPE_ENTRY, nullptr},
      {"bandwidth default", tpBandwidthDefaultOf(page), GTK_TYPE_CHECK_BUTTON, "Use Default"},
      {"port entry", tpPortEntryOf(page), GTK_TYPE_ENTRY, nullptr},
      {"port default", tpPortDefaultOf(page), GTK_TYPE_CHECK_BUTTON, "Use Default"},
      {"list", list, GTK_TYPE_CLIST, nullptr},
      {"import", tpImportOf(column), GTK_TYPE_BUTTON, "Import"},
      {"add", tpAddOf(column), GTK_TYPE_BUTTON, "Add"},
      {"modify", tpModifyOf(column), GTK_TYPE_BUTTON, "Modify"},
      {"delete", tpDeleteOf(column), GTK_TYPE_BUTTON, "Delete"},
      {"save", tpSaveOf(column), GTK_TYPE_BUTTON, "Save"},
      {"exit", tpExitOf(column), GTK_TYPE_BUTTON, "Exit"},
  };
  for (const Expected& e : widgets) {
    SCOPED_TRACE(e.what);
    ASSERT_NE(e.widget, nullptr);
    EXPECT_TRUE(G_TYPE_CHECK_INSTANCE_TYPE(e.widget, e.type));
    if (e.label != nullptr) {
      EXPECT_STREQ(gtk_button_get_label(GTK_BUTTON(e.widget)), e.label);
    }
  }
  EXPECT_EQ(GTK_CLIST(list)->columns, 2);
  EXPECT_TRUE(GTK_IS_FIXED(findWidget(column, nullptr, 5)));
  EXPECT_EQ(tpPageOfList(list), page);
  EXPECT_EQ(tpMainWindowOfList(list), window);
  EXPECT_EQ(tpButtonColumnOfList(list), column);
  EXPECT_EQ(tpPageOfButton(tpSaveOf(column)), page);
  EXPECT_EQ(tpListOfButton(tpImportOf(column)), list);
}

// With no settings file and no script: defaults in use, nothing to modify or delete.
TEST_F(ThinPrintPage, FreshPageStartsAtTheDefaults) {
  build();
  EXPECT_FALSE(active(tpEnableOf(page)));
  EXPECT_TRUE(active(tpBandwidthDefaultOf(page)));
  EXPECT_TRUE(active(tpPortDefaultOf(page)));
  EXPECT_FALSE(sensitive(tpBandwidthEntryOf(page)));
  EXPECT_FALSE(sensitive(tpPortEntryOf(page)));
  EXPECT_EQ(clistRows(list), 0);
  EXPECT_FALSE(sensitive(tpModifyOf(column)));
  EXPECT_FALSE(sensitive(tpDeleteOf(column)));
  EXPECT_TRUE(sensitive(tpAddOf(column)));
}

TEST_F(ThinPrintPage, UseDefaultSwitchesItsOwnEntryAndKeepsTheText) {
  build();
  const std::pair<GtkWidget*, GtkWidget*> rows[] = {
      {tpBandwidthDefaultOf(page), tpBandwidthEntryOf(page)},
      {tpPortDefaultOf(page), tpPortEntryOf(page)}};
  for (const auto& [useDefault, entry] : rows) {
    GtkWidget* other =
        entry == tpPortEntryOf(page) ? tpBandwidthEntryOf(page) : tpPortEntryOf(page);
    gtk_entry_set_text(GTK_ENTRY(entry), "1234");
    gtk_toggle_button_set_active(GTK_TOGGLE_BUTTON(useDefault), FALSE);
    EXPECT_TRUE(sensitive(entry));
    EXPECT_FALSE(sensitive(other));
    gtk_toggle_button_set_active(GTK_TOGGLE_BUTTON(useDefault), TRUE);
    EXPECT_FALSE(sensitive(entry));
    EXPECT_EQ(entryText(entry), "1234");
  }
}

TEST_F(ThinPrintPage, ReadsTheSettingsFileIntoTheWidgets) {
  struct Case {
    const char* conf;
    bool script;
    const char* bandwidth;  // nullptr: "Use Default" stays active
    const char* port;
    Rows rows;
  };
  const Case cases[] = {
      {"BANDWIDTH=256000\nPORT=4000\n/dev/usb/lp0 Laser\n",
       true,
       "256000",
       "4000",
       {{"Laser", "/dev/usb/lp0"}}},
      // A keyword line without "=" is in use, with an empty value.
      {"BANDWIDTH\n", false, "", nullptr, {}},
      // The last of several wins; only the exact case at the very start is a keyword.
      {"BANDWIDTH=1\nBANDWIDTH=2\n bandwidth=3\nPort=5\n",
       false,
       "2",
       nullptr,
       {{"", "bandwidth=3"}, {"", "Port=5"}}},
      // A device beginning with PORT makes a port line; a blank line an empty row.
      {"PORTABLE x=y\n\n/dev/lp0 \"Office Laser\"\r\n",
       false,
       nullptr,
       "y",
       {{"", ""}, {"\"Office Laser\"", "/dev/lp0"}}},
      {"/dev/lp0 Last-line-without-feed",
       false,
       nullptr,
       nullptr,
       {{"Last-line-without-feed", "/dev/lp0"}}},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.conf);
    SetUp();
    writeFile(kThinPrintConf, c.conf);
    if (c.script) writeFile(kThinPrintScript, "#!/bin/sh\n");
    build();
    EXPECT_EQ(active(tpEnableOf(page)), c.script);
    EXPECT_EQ(sensitive(tpBandwidthEntryOf(page)), c.bandwidth != nullptr);
    EXPECT_EQ(active(tpBandwidthDefaultOf(page)), c.bandwidth == nullptr);
    EXPECT_EQ(entryText(tpBandwidthEntryOf(page)), c.bandwidth ? c.bandwidth : "");
    EXPECT_EQ(sensitive(tpPortEntryOf(page)), c.port != nullptr);
    EXPECT_EQ(entryText(tpPortEntryOf(page)), c.port ? c.port : "");
    EXPECT_EQ(listRows(list), c.rows);
    EXPECT_EQ(sensitive(tpModifyOf(column)), !c.rows.empty());
    EXPECT_EQ(sensitive(tpDeleteOf(column)), !c.rows.empty());
    TearDown();
    window = nullptr;
  }
}

TEST_F(ThinPrintPage, SaveWritesTheFileTheScriptAndRunsTheCommandLines) {
  struct Case {
    const char* what;
    bool enabled;
    const char* bandwidth;  // nullptr: leave "Use Default" active
    const char* port;
    const char* typedIntoDefault;  // typed into the bandwidth entry while its default is active
    Rows rows;
    const char* conf;
    const char* scriptLine;  // nullptr: no script written
  };
  const std::vector<std::string> stop = {"killall -9 runthinprint", "killall -9 thnuclnt"};
  const Case cases[] = {
      {"enabled with bandwidth and a row",
       true,
       " \t256000 ",
       nullptr,
       nullptr,
       {{"Laser", "/dev/usb/lp0"}},
       "BANDWIDTH=256000\n/dev/usb/lp0 Laser\n",
       "/usr/share/thinprint/thnuclnt -b 256000 -dev /dev/usb/lp0 -name Laser "},
      {"bandwidth of only spaces",
       true,
       "   ",
       "9100",
       nullptr,
       {{"\"Office Laser\"", "/dev/lp0"}, {"B", "b"}},
       "PORT=9100\n/dev/lp0 \"Office Laser\"\nb B\n",
       "/usr/share/thinprint/thnuclnt -port 9100 -dev /dev/lp0 -name \"Office Laser\" -dev b "
       "-name B "},
      {"nothing in use", true, nullptr, nullptr, "512", {}, "", "/usr/share/thinprint/thnuclnt "},
      {"disabled",
       false,
       "64000",
       "4000",
       nullptr,
       {{"", ""}},
       "BANDWIDTH=64000\nPORT=4000\n \n",
       nullptr},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.what);
    SetUp();
    build();
    gtk_toggle_button_set_active(GTK_TOGGLE_BUTTON(tpEnableOf(page)), c.enabled);
    if (c.bandwidth != nullptr) {
      gtk_toggle_button_set_active(GTK_TOGGLE_BUTTON(tpBandwidthDefaultOf(page)), FALSE);
      gtk_entry_set_text(GTK_ENTRY(tpBandwidthEntryOf(page)), c.bandwidth);
    }
    if (c.typedIntoDefault != nullptr) {
      gtk_entry_set_text(GTK_ENTRY(tpBandwidthEntryOf(page)), c.typedIntoDefault);
    }
    if (c.port != nullptr) {
      gtk_toggle_button_set_active(GTK_TOGGLE_BUTTON(tpPortDefaultOf(page)), FALSE);
      gtk_entry_set_text(GTK_ENTRY(tpPortEntryOf(page)), c.port);
    }
    for (const auto& [name, device] : c.rows) {
      const gchar* cells[2] = {name.c_str(), device.c_str()};
      gtk_clist_append(GTK_CLIST(list), const_cast<gchar**>(cells));
    }
    CommandRecorder recorder;
    DialogAnswer answer;
    answerNextDialog(GTK_RESPONSE_ACCEPT, &answer);
    click(tpSaveOf(column));
    EXPECT_EQ(answer.title, "Config Saved...");
    EXPECT_EQ(answer.message, "ThinPrint configuration has been saved successfully.");
    EXPECT_EQ(readFile(kThinPrintConf), c.conf);
    std::vector<std::string> expected = stop;
    if (c.scriptLine != nullptr) {
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
    TearDown();
    window = nullptr;
  }
}

// What Save wrote is what the next start shows; a bandwidth of spaces is back at its default.
TEST_F(ThinPrintPage, SavedSettingsReadBackAtTheNextStart) {
  build();
  gtk_toggle_button_set_active(GTK_TOGGLE_BUTTON(tpBandwidthDefaultOf(page)), FALSE);
  gtk_entry_set_text(GTK_ENTRY(tpBandwidthEntryOf(page)), "  ");
  gtk_toggle_button_set_active(GTK_TOGGLE_BUTTON(tpPortDefaultOf(page)), FALSE);
  gtk_entry_set_text(GTK_ENTRY(tpPortEntryOf(page)), "4000");
  const gchar* cells[2] = {"Laser", "/dev/usb/lp0"};
  gtk_clist_append(GTK_CLIST(list), const_cast<gchar**>(cells));
  {
    CommandRecorder recorder;
    answerNextDialog(GTK_RESPONSE_ACCEPT);
    click(tpSaveOf(column));
  }
  gtk_widget_destroy(window);
  build();
  EXPECT_TRUE(active(tpBandwidthDefaultOf(page)));
  EXPECT_EQ(entryText(tpPortEntryOf(page)), "4000");
  EXPECT_EQ(listRows(list), (Rows{{"Laser", "/dev/usb/lp0"}}));
}

TEST_F(ThinPrintPage, UnwritableSettingsFolderStopsSaveBeforeAnyCommand) {
  build();
  gtk_toggle_button_set_active(GTK_TOGGLE_BUTTON(tpEnableOf(page)), TRUE);
  ASSERT_EQ(rmdir("/etc/dorvek"), 0);
  CommandRecorder recorder;
  DialogAnswer answer;
  answerNextDialog(GTK_RESPONSE_ACCEPT, &answer);
  click(tpSaveOf(column));
  EXPECT_EQ(answer.title, "Error: Read only filesystem");
  EXPECT_EQ(answer.message, "Cannot write ThinPrint configuration to /etc/dorvek folder.");
  EXPECT_TRUE(recorder.lines().empty());
  EXPECT_NE(access(kThinPrintScript, F_OK), 0);
}

// The client is stopped and stays stopped; the settings are saved and the user told so.
TEST_F(ThinPrintPage, UnwritableStartScriptSkipsStartingTheClientSilently) {
  build();
  gtk_toggle_button_set_active(GTK_TOGGLE_BUTTON(tpEnableOf(page)), TRUE);
  // A folder in the script's place: nothing can be renamed over it.
  ASSERT_EQ(mkdir(kThinPrintScript, 0755), 0);
  CommandRecorder recorder;
  DialogAnswer answer;
  answerNextDialog(GTK_RESPONSE_ACCEPT, &answer);
  click(tpSaveOf(column));
  EXPECT_EQ(answer.title, "Config Saved...");
  EXPECT_EQ(recorder.lines(),
            (std::vector<std::string>{"killall -9 runthinprint", "killall -9 thnuclnt"}));
  EXPECT_EQ(access(kThinPrintConf, F_OK), 0);
  rmdir(kThinPrintScript);
}

}  // namespace
}  // namespace tptest
