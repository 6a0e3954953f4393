#include <gtest/gtest.h>

#include "printers/editor.h"
#include "printers_fixture.h"
#include "store/samba.h"

namespace {

const char* const kFilters = "/usr/lib/lprng/filters";
const char* const kFoomatic = "/usr/bin/foomatic-rip";

std::string chosen(GtkWidget* combo) {
  return comboActiveText(combo);
}

// Exactly these PPD files; whatever else lives in /usr/local/lib stays.
void installPPDs(const std::vector<std::string>& names) {
  std::error_code ignored;
  for (const auto& entry : std::filesystem::directory_iterator("/usr/local/lib", ignored)) {
    if (entry.path().extension() == ".ppd") removePath(entry.path());
  }
  for (const std::string& name : names) writeFile("/usr/local/lib/" + name, "*PPD-Adobe\n");
}

}  // namespace

TEST(Choosers, FilterListOrderDefaultAndPPDRow) {
  installPPDs({});
  const std::string f = std::string(kFilters) + "/";
  const struct {
    std::vector<std::string> filters;
    bool foomatic;
    std::vector<std::string> items;
    std::string preselected;
  } cases[] = {
      {{"abc", "lpf", "pclbanner"},
       false,
       {f + "abc", f + "lpf", f + "pclbanner", "None"},
       f + "lpf"},
      {{"abc", "lpf"}, true, {f + "abc", f + "lpf", kFoomatic, "None"}, f + "lpf"},
      {{"abc", "zzz"}, true, {f + "abc", f + "zzz", kFoomatic, "None"}, f + "abc"},
      {{}, true, {kFoomatic, "None"}, kFoomatic},
      {{}, false, {"None"}, "None"},
  };
  for (const auto& c : cases) {
    fillFolder(kFilters, c.filters);
    setPresent(kFoomatic, c.foomatic);
    PrintersPage page;
    CommandRecorder recorder(false);
    page.openAdd();
    GtkWidget* filter = infoFieldOf(page.infoBox(), kRowFilter);
    EXPECT_EQ(comboItems(filter), c.items);
    EXPECT_EQ(chosen(filter), c.preselected);
    GtkWidget* ppdRow = infoRowOf(page.infoBox(), kRowPPD);
    EXPECT_EQ(sensitive(ppdRow), c.preselected == kFoomatic) << c.preselected;
    // Choosing any item afterwards: the PPD row follows, Foomatic only.
    for (int index = 0; index < static_cast<int>(c.items.size()); ++index) {
      gtk_combo_box_set_active(GTK_COMBO_BOX(filter), index);
      EXPECT_EQ(sensitive(ppdRow), c.items[index] == kFoomatic) << c.items[index];
    }
    const auto& lines = recorder.lines();
    EXPECT_NE(
        std::find(lines.begin(), lines.end(), "ls /usr/lib/lprng/filters/* -1 > /tmp/filters.list"),
        lines.end());
    EXPECT_NE(std::find(lines.begin(), lines.end(), "rm /tmp/filters.list -f"), lines.end());
    EXPECT_FALSE(std::filesystem::exists("/tmp/filters.list"));
  }
}

TEST(Choosers, PPDListEndsWithNoneAndSelectsTheFirst) {
  const struct {
    std::vector<std::string> files;
    std::vector<std::string> items;
  } cases[] = {
      {{"b.ppd", "a.ppd", "notes.txt"}, {"/usr/local/lib/a.ppd", "/usr/local/lib/b.ppd", "None"}},
      {{}, {"None"}},
  };
  for (const auto& c : cases) {
    installPPDs(c.files);
    PrintersPage page;
    CommandRecorder recorder(false);
    page.openAdd();
    GtkWidget* ppd = infoFieldOf(page.infoBox(), kRowPPD);
    EXPECT_EQ(comboItems(ppd), c.items);
    EXPECT_EQ(gtk_combo_box_get_active(GTK_COMBO_BOX(ppd)), 0);
    const auto& lines = recorder.lines();
    const auto ls =
        std::find(lines.begin(), lines.end(), "ls /usr/local/lib/*.ppd -1 > /tmp/ppd.list");
    ASSERT_NE(ls, lines.end());
    EXPECT_EQ(*(ls + 1), "rm /tmp/ppd.list -f");
  }
}

TEST(Choosers, ModifyFormLoadsEachKindOfPrinter) {
  fillFolder(kFilters, {"abc", "lpf"});
  setPresent(kFoomatic, true);
  setPresent("/usr/bin/smbclient", true);
  installPPDs({"a.ppd", "b.ppd"});
  for (const char* device : {"/dev/lp0", "/dev/lp1"}) writeFile(device, "");
  std::vector<PrinterRow> rows = samplePrinters();
  rows.push_back({"", "unk1", "Odd", "Unknown", "", "", "", "", ""});
  for (const char* name : {"smb1", "unk1"}) {
    SambaSettings settings;
    settings.server = std::string(name) + "-host";
    settings.printer = "laser";
    settings.user = "guest";
    settings.password = "secret";
    settings.workgroup = "WG";
    settings.translate = true;
    writeFile(sambaScriptPath(name), formatSambaScript(settings));
  }
  const struct {
    int row;
    TypeButton type;
    bool isDefault;
    bool formFeed;
    std::string name, description, device, server, shared, user, driver, filter, ppd;
    bool ppdRowSensitive;
  } cases[] = {
      {0, kParallel, true, true, "lp1", "Office", "/dev/lp1", "", "", "", "",
       "/usr/lib/lprng/filters/lpf", "None", false},
      {1, kNetwork, false, false, "net1", "Hall", "", "localhost", "queue1", "", "HP LaserJet",
       kFoomatic, "/usr/local/lib/b.ppd", true},
      // Its filter is no longer installed: it falls back to "None".
      {2, kSamba, false, false, "smb1", "Upstairs", "", "smb1-host", "laser", "guest", "", "None",
       "None", false},
      {3, kSamba, false, false, "unk1", "Odd", "", "unk1-host", "laser", "guest", "", "None",
       "None", false},
  };
  for (const auto& c : cases) {
    PrintersPage page(rows);
    CommandRecorder recorder(false);
    page.openModify(c.row);
    GtkWidget* info = page.infoBox();
    ASSERT_NE(page.editor(), nullptr);
    EXPECT_TRUE(active(page.typeButton(c.type))) << c.name;
    // The default printer stays the default: checked and greyed.
    EXPECT_EQ(active(makeDefaultCheckOf(info)), c.isDefault) << c.name;
    EXPECT_EQ(sensitive(makeDefaultCheckOf(info)), !c.isDefault) << c.name;
    EXPECT_EQ(active(formFeedCheckOf(info)), c.formFeed) << c.name;
    EXPECT_EQ(entryText(infoFieldOf(info, kRowName)), c.name);
    EXPECT_EQ(entryText(infoFieldOf(info, kRowDescription)), c.description);
    if (c.type == kParallel) {
      EXPECT_EQ(chosen(infoFieldOf(info, kRowDevice)), c.device) << c.name;
    }
    EXPECT_EQ(entryText(infoFieldOf(info, kRowServer)), c.server) << c.name;
    EXPECT_EQ(entryText(infoFieldOf(info, kRowShared)), c.shared) << c.name;
    EXPECT_EQ(entryText(infoFieldOf(info, kRowSmbUser)), c.user) << c.name;
    EXPECT_EQ(entryText(infoFieldOf(info, kRowDriver)), c.driver) << c.name;
    EXPECT_EQ(chosen(infoFieldOf(info, kRowFilter)), c.filter) << c.name;
    EXPECT_EQ(chosen(infoFieldOf(info, kRowPPD)), c.ppd) << c.name;
    EXPECT_EQ(sensitive(infoRowOf(info, kRowPPD)), c.ppdRowSensitive) << c.name;
    EXPECT_EQ(active(translateCheckOf(info)), c.type == kSamba) << c.name;
    EXPECT_EQ(shown(infoRowOf(info, kRowDevice)), c.type == kParallel) << c.name;
    EXPECT_EQ(shown(infoRowOf(info, kRowSmbUser)), c.type == kSamba) << c.name;
  }
}

TEST(Choosers, ModifyEdgeCases) {
  fillFolder(kFilters, {"lpf"});
  installPPDs({});
  for (const char* device : {"/dev/lp0", "/dev/ttyS0", "/dev/ttyS3", "/dev/usb/lp0"}) {
    writeFile(device, "");
  }
  removePath("/dev/lp1");
  const struct {
    const char* what;
    PrinterRow printer;
    bool smbclient;
    std::string device, server, shared;
    bool sambaButtonShown;
  } cases[] = {
      {"device gone", {"", "p", "", "Parallel", "/dev/lp1"}, true, "", "", "", true},
      {"serial", {"", "s", "", "serial", "/dev/ttyS3"}, true, "/dev/ttyS3", "", "", true},
      {"usb", {"", "u", "", "USB", "/dev/usb/lp0"}, true, "/dev/usb/lp0", "", "", true},
      {"network without @", {"", "n", "", "Network", "justqueue"}, true, "", "", "justqueue", true},
      {"network at first @", {"", "n", "", "Network", "q@host@x"}, true, "", "host@x", "q", true},
      {"samba, no smbclient",
       {"", "s", "", "Samba", "|/etc/dorvek/samba/s.sh"},
       false,
       "",
       "",
       "",
       false},
  };
  for (const auto& c : cases) {
    setPresent("/usr/bin/smbclient", c.smbclient);
    removePath(sambaScriptPath(c.printer[kColName]));
    PrintersPage page({c.printer});
    CommandRecorder recorder(false);
    gtk_clist_set_text(GTK_CLIST(page.table), 0, kColDevice, c.printer[kColDevice].c_str());
    page.openModify(0);
    GtkWidget* info = page.infoBox();
    if (c.printer[kColDevice].rfind("/dev/", 0) == 0) {
      EXPECT_EQ(chosen(infoFieldOf(info, kRowDevice)), c.device) << c.what;
    }
    EXPECT_EQ(entryText(infoFieldOf(info, kRowServer)), c.server) << c.what;
    EXPECT_EQ(entryText(infoFieldOf(info, kRowShared)), c.shared) << c.what;
    EXPECT_EQ(shown(page.typeButton(kSamba)), c.sambaButtonShown) << c.what;
    EXPECT_EQ(chosen(infoFieldOf(info, kRowFilter)), "None") << c.what;  // stored filter empty
  }
  setPresent("/usr/bin/smbclient", true);
}
