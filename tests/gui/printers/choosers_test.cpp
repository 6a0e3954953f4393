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

// Name|Description|Server|Shared|User|Driver|Filter|PPD of the open form.
std::string form(const PrintersPage& page) {
  std::string text = entryText(page.field(kRowName));
  for (InfoRow r : {kRowDescription, kRowServer, kRowShared, kRowSmbUser, kRowDriver}) {
    text += "|" + entryText(page.field(r));
  }
  return text + "|" + chosen(page.field(kRowFilter)) + "|" + chosen(page.field(kRowPPD));
}

}  // namespace

TEST(Choosers, FilterAndPPDListsTheirOrderAndDefaults) {
  const std::string f = std::string(kFilters) + "/", lib = "/usr/local/lib/";
  const struct {
    std::vector<std::string> filters;
    bool foomatic;
    std::vector<std::string> items;
    std::string preselected;
    std::vector<std::string> ppdFiles, ppdItems;
  } cases[] = {
      {{"abc", "lpf", "pclbanner"},
       false,
       Lines{f + "abc", f + "lpf", f + "pclbanner", "None"},
       f + "lpf",
       Lines{"b.ppd", "a.ppd", "notes.txt"},
       Lines{lib + "a.ppd", lib + "b.ppd", "None"}},
      {{"abc", "lpf"}, true, {f + "abc", f + "lpf", kFoomatic, "None"}, f + "lpf", {}, {"None"}},
      {{"abc", "zzz"}, true, {f + "abc", f + "zzz", kFoomatic, "None"}, f + "abc", {}, {"None"}},
      {{}, true, {kFoomatic, "None"}, kFoomatic, {}, {"None"}},
      {{}, false, {"None"}, "None", {}, {"None"}},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.preselected);
    fillFolder(kFilters, c.filters);
    setPresent(kFoomatic, c.foomatic);
    installPPDs(c.ppdFiles);
    PrintersPage page;
    CommandRecorder recorder(false);
    page.openAdd();
    GtkWidget* filter = page.field(kRowFilter);
    EXPECT_EQ(comboItems(filter), c.items);
    EXPECT_EQ(chosen(filter), c.preselected);
    EXPECT_EQ(comboItems(page.field(kRowPPD)), c.ppdItems);
    EXPECT_EQ(gtk_combo_box_get_active(GTK_COMBO_BOX(page.field(kRowPPD))), 0);
    GtkWidget* ppdRow = infoRowOf(page.infoBox(), kRowPPD);
    EXPECT_EQ(sensitive(ppdRow), c.preselected == kFoomatic);
    for (int index = 0; index < static_cast<int>(c.items.size()); ++index) {
      gtk_combo_box_set_active(GTK_COMBO_BOX(filter), index);  // the PPD row: Foomatic only
      EXPECT_EQ(sensitive(ppdRow), c.items[index] == kFoomatic) << c.items[index];
    }
    const auto& lines = recorder.lines();
    const int filtersLs = lineAt(lines, "ls /usr/lib/lprng/filters/* -1 > /tmp/filters.list");
    EXPECT_GE(filtersLs, 0);
    EXPECT_GT(lineAt(lines, "rm /tmp/filters.list -f"), filtersLs);
    const int ppdLs = lineAt(lines, "ls /usr/local/lib/*.ppd -1 > /tmp/ppd.list");
    EXPECT_GE(ppdLs, 0);
    EXPECT_EQ(lineAt(lines, "rm /tmp/ppd.list -f"), ppdLs + 1);
    EXPECT_FALSE(std::filesystem::exists("/tmp/filters.list"));
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
  for (const std::string name : {"smb1", "unk1"}) {
    const SambaSettings s{name + "-host", "laser", "guest", "secret", "WG", true};
    writeFile(sambaScriptPath(name), formatSambaScript(s));
  }
  const struct {
    TypeButton type;
    bool isDefault, formFeed;
    const char* device;
    std::string form;
  } cases[] = {
      // in the order of their rows; smb1's filter is gone, so it shows "None"
      {kParallel, true, true, "/dev/lp1", "lp1|Office|||||/usr/lib/lprng/filters/lpf|None"},
      {kNetwork, false, false, "",
       "net1|Hall|localhost|queue1||HP LaserJet|/usr/bin/foomatic-rip|/usr/local/lib/b.ppd"},
      {kSamba, false, false, "", "smb1|Upstairs|smb1-host|laser|guest||None|None"},
      {kSamba, false, false, "", "unk1|Odd|unk1-host|laser|guest||None|None"},
  };
  for (int row = 0; row < 4; ++row) {
    const auto& c = cases[row];
    SCOPED_TRACE(row);
    PrintersPage page(rows);
    CommandRecorder recorder(false);
    page.openModify(row);
    ASSERT_NE(page.editor(), nullptr);
    GtkWidget* info = page.infoBox();
    EXPECT_TRUE(active(page.typeButton(c.type)));
    // The default printer stays the default: checked and greyed.
    EXPECT_EQ(active(makeDefaultCheckOf(info)), c.isDefault);
    EXPECT_EQ(sensitive(makeDefaultCheckOf(info)), !c.isDefault);
    EXPECT_EQ(active(formFeedCheckOf(info)), c.formFeed);
    EXPECT_EQ(form(page), c.form);
    if (c.type == kParallel) {
      EXPECT_EQ(chosen(page.field(kRowDevice)), c.device);
    }
    EXPECT_EQ(sensitive(infoRowOf(info, kRowPPD)), c.type == kNetwork);  // Foomatic's
    EXPECT_EQ(active(translateCheckOf(info)), c.type == kSamba);
    EXPECT_EQ(shown(infoRowOf(info, kRowDevice)), c.type == kParallel);
    EXPECT_EQ(shown(infoRowOf(info, kRowSmbUser)), c.type == kSamba);
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
    const char *type, *stored;  // type and device of the printer "s"
    bool smbclient;
    const char *device, *form;
  } cases[] = {
      {"Parallel", "/dev/lp1", true, "", "s||||||None|None"},  // the device is gone
      {"serial", "/dev/ttyS3", true, "/dev/ttyS3", "s||||||None|None"},
      {"USB", "/dev/usb/lp0", true, "/dev/usb/lp0", "s||||||None|None"},
      {"Network", "justqueue", true, "", "s|||justqueue|||None|None"},
      {"Network", "q@host@x", true, "", "s||host@x|q|||None|None"},  // at the first @
      {"Samba", "|/etc/dorvek/samba/s.sh", false, "", "s||||||None|None"},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.stored);
    setPresent("/usr/bin/smbclient", c.smbclient);
    removePath(sambaScriptPath("s"));
    PrintersPage page({{"", "s", "", c.type, c.stored}});
    CommandRecorder recorder(false);
    gtk_clist_set_text(GTK_CLIST(page.table), 0, kColDevice, c.stored);
    page.openModify(0);
    if (std::string(c.stored).rfind("/dev/", 0) == 0) {
      EXPECT_EQ(chosen(page.field(kRowDevice)), c.device);
    }
    EXPECT_EQ(form(page), c.form);  // the stored filter is empty: "None"
    EXPECT_EQ(shown(page.typeButton(kSamba)), c.smbclient);
  }
  setPresent("/usr/bin/smbclient", true);
}
