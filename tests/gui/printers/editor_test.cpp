#include "printers/editor.h"

#include <gtest/gtest.h>

#include <map>
#include <set>

#include "printers_fixture.h"

namespace {

const char* const kDevices[] = {"/dev/lp0", "/dev/lp1", "/dev/usb/lp0", "/dev/ttyS0", "/dev/ttyS3"};

void makeDevices() {
  for (const char* path : kDevices) writeFile(path, "");
}

std::set<int> shownRows(GtkWidget* infoBox) {
  std::set<int> rows;
  for (int row = kRowName; row <= kRowDefault; ++row) {
    if (shown(infoRowOf(infoBox, static_cast<InfoRow>(row)))) rows.insert(row);
  }
  return rows;
}

}  // namespace

// Field paths are exercised by the tests that fill and read the fields.
TEST(PrinterEditor, NamedPathsReachTheirWidgets) {
  setPresent("/usr/bin/smbclient", true);
  PrintersPage page;
  CommandRecorder quiet;
  page.openAdd();
  GtkWidget* editor = page.editor();
  ASSERT_NE(editor, nullptr);
  GtkWidget* box = page.windowBox();
  GtkWidget* info = page.infoBox();
  auto at = [&box](int child) { return findWidget(editorButtonRowOf(box), nullptr, child); };
  auto type = [&page](TypeButton t) { return page.typeButton(t); };
  EXPECT_EQ(buttonLabels({type(kParallel), type(kSerial), type(kUSB), type(kNetwork), type(kSamba),
                          formFeedCheckOf(info), makeDefaultCheckOf(info), translateCheckOf(info),
                          at(1), at(2), at(4)}),
            "Parallel Printer|Serial Printer|USB Printer|Network Printer|Samba Printer|"
            "Use Form Feed|Make Default|Translate|_Ok|_Test|_Cancel|");
  for (int t = kParallel; t <= kSamba; ++t) {
    EXPECT_EQ(ancestor(type(TypeButton(t)), 3), box) << t;  // where the type handlers start
  }
  for (GtkWidget* button : {at(1), at(2), at(4)}) {
    EXPECT_EQ(editorWindowOf(button), editor);
    EXPECT_EQ(windowBoxOfButton(button), box);
  }
  EXPECT_TRUE(GTK_IS_FIXED(at(3)));
  EXPECT_TRUE(active(page.typeButton(kParallel)));
  const std::pair<InfoRow, const char*> rowLabels[] = {
      {kRowName, "Printer Name:"},     {kRowDescription, "Description:"},
      {kRowDevice, "Device Port:"},    {kRowServer, "LPD Server:"},
      {kRowShared, "Queue Name:"},     {kRowSmbUser, "User Name:"},
      {kRowSmbPassword, "Password:"},  {kRowSmbWorkgroup, "Workgroup:"},
      {kRowDriver, "Windows Driver:"}, {kRowFilter, "Use Filter:"},
      {kRowPPD, "PPD Filter:"}};
  for (const auto& [infoRow, label] : rowLabels) {
    ASSERT_TRUE(GTK_IS_LABEL(infoLabelOf(info, infoRow))) << label;
    EXPECT_EQ(labelText(infoLabelOf(info, infoRow)), label);
  }
  EXPECT_FALSE(gtk_entry_get_visibility(GTK_ENTRY(page.field(kRowSmbPassword))));
  EXPECT_EQ(ancestor(page.field(kRowFilter), 2), info);
}

// Switching type shows that type's rows; hidden rows keep what was typed into them.
TEST(PrinterEditor, EachTypeShowsItsRowsAndHiddenRowsKeepTheirText) {
  setPresent("/usr/bin/smbclient", true);
  makeDevices();
  const std::set<int> always = {kRowName, kRowDescription, kRowDriver, kRowFilter,
                                kRowPPD,  kRowFormFeed,    kRowDefault};
  auto with = [&always](std::set<int> extra) {
    extra.insert(always.begin(), always.end());
    return extra;
  };
  const InfoRow sambaOnly[] = {kRowServer, kRowShared, kRowSmbUser, kRowSmbPassword,
                               kRowSmbWorkgroup};
  const std::set<int> device = with({kRowDevice}), network = with({kRowServer, kRowShared}),
                      samba = with(std::set<int>(std::begin(sambaOnly), std::end(sambaOnly)));
  const std::map<TypeButton, std::set<int>> rows = {
      {kParallel, device}, {kSerial, device}, {kUSB, device}, {kNetwork, network}, {kSamba, samba}};
  PrintersPage page;
  CommandRecorder quiet;
  page.openAdd();
  GtkWidget* info = page.infoBox();
  EXPECT_EQ(shownRows(info), rows.at(kParallel));  // the Add form opens as Parallel
  EXPECT_FALSE(shown(translateCheckOf(info)));
  bool typed = false;
  for (TypeButton type : {kNetwork, kSamba, kSerial, kNetwork, kUSB, kSamba, kParallel}) {
    click(page.typeButton(type));
    ASSERT_TRUE(active(page.typeButton(type)));
    EXPECT_EQ(shownRows(info), rows.at(type)) << type;
    EXPECT_EQ(shown(translateCheckOf(info)), type == kSamba) << type;
    EXPECT_TRUE(shown(makeDefaultCheckOf(info))) << type;
    const std::string labels =
        labelText(infoLabelOf(info, kRowServer)) + labelText(infoLabelOf(info, kRowShared));
    if (type == kNetwork || type == kSamba) {
      EXPECT_EQ(labels, type == kSamba ? "Samba Server:Shared Printer:" : "LPD Server:Queue Name:");
    }
    if (type != kSamba) continue;
    for (InfoRow row : sambaOnly) {
      if (typed) {
        EXPECT_EQ(entryText(page.field(row)), std::to_string(row));
      } else {
        gtk_entry_set_text(GTK_ENTRY(page.field(row)), std::to_string(row).c_str());
      }
    }
    typed = true;
  }
}

TEST(PrinterEditor, DeviceChooserListsThePortsOfTheType) {
  setPresent("/usr/bin/smbclient", true);
  const struct {
    TypeButton type;
    bool devices;
    const char* listing;
    std::vector<std::string> items;
  } cases[] = {
      {kSerial, true, "ls /dev/ttyS* -1 > /tmp/prdev.list", {"/dev/ttyS0", "/dev/ttyS3"}},
      {kUSB, true, "ls /dev/usb/lp* -1 > /tmp/prdev.list", {"/dev/usb/lp0"}},
      {kParallel, true, "ls /dev/lp* -1 > /tmp/prdev.list", {"/dev/lp0", "/dev/lp1"}},
      {kUSB, false, "ls /dev/usb/lp* -1 > /tmp/prdev.list", {}},
  };
  for (const auto& c : cases) {
    for (const char* path : kDevices) removePath(path);
    if (c.devices) makeDevices();
    PrintersPage page;
    page.openAdd();
    click(page.typeButton(kNetwork));  // so the type button toggles
    CommandRecorder recorder(false);   // the listings really run
    click(page.typeButton(c.type));
    GtkWidget* devices = page.field(kRowDevice);
    EXPECT_EQ(comboItems(devices), c.items) << c.listing;
    EXPECT_EQ(gtk_combo_box_get_active(GTK_COMBO_BOX(devices)), c.items.empty() ? -1 : 0);
    EXPECT_EQ(recorder.lines(), (std::vector<std::string>{c.listing, "rm /tmp/prdev.list"}));
    EXPECT_FALSE(std::filesystem::exists("/tmp/prdev.list"));
  }
}

TEST(PrinterEditor, SambaOfferedOnlyWithSmbclient) {
  makeDevices();
  for (bool smbclient : {true, false}) {
    setPresent("/usr/bin/smbclient", smbclient);
    PrintersPage page;
    CommandRecorder quiet;
    page.openAdd();
    EXPECT_EQ(shown(page.typeButton(kSamba)), smbclient);
    click(page.typeButton(kNetwork));  // showing the whole window again must not bring it back
    EXPECT_EQ(shown(page.typeButton(kSamba)), smbclient);
  }
  setPresent("/usr/bin/smbclient", true);
}
