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

TEST(PrinterEditor, NamedPathsReachTheirWidgets) {
  setPresent("/usr/bin/smbclient", true);
  PrintersPage page;
  CommandRecorder quiet;
  page.openAdd();
  GtkWidget* editor = page.editor();
  ASSERT_NE(editor, nullptr);
  EXPECT_EQ(gtk_window_get_transient_for(GTK_WINDOW(editor)), GTK_WINDOW(page.window));
  EXPECT_FALSE(gtk_window_get_resizable(GTK_WINDOW(editor)));
  GtkWidget* windowBox = page.windowBox();
  GtkWidget* typeBox = printerTypeBoxOf(windowBox);
  GtkWidget* infoBox = printerInfoBoxOf(windowBox);
  for (GtkWidget* box : {windowBox, typeBox, infoBox}) ASSERT_TRUE(GTK_IS_VBOX(box));
  EXPECT_TRUE(GTK_IS_FRAME(gtk_widget_get_parent(typeBox)));
  EXPECT_TRUE(GTK_IS_FRAME(gtk_widget_get_parent(infoBox)));

  const char* typeLabels[] = {"Parallel Printer", "Serial Printer", "USB Printer",
                              "Network Printer", "Samba Printer"};
  for (int which = kParallel; which <= kSamba; ++which) {
    GtkWidget* button = typeButtonOf(typeBox, static_cast<TypeButton>(which));
    ASSERT_TRUE(GTK_IS_RADIO_BUTTON(button)) << which;
    EXPECT_STREQ(gtk_button_get_label(GTK_BUTTON(button)), typeLabels[which - 1]);
    EXPECT_EQ(ancestor(button, 3), windowBox);  // where the type handlers start from
  }
  EXPECT_TRUE(active(typeButtonOf(typeBox, kParallel)));

  const GType entry = GTK_TYPE_ENTRY, combo = GTK_TYPE_COMBO_BOX;
  const struct {
    InfoRow row;
    GType field;
    const char* label;
  } rows[] = {
      {kRowName, entry, "Printer Name:"},     {kRowDescription, entry, "Description:"},
      {kRowDevice, combo, "Device Port:"},    {kRowServer, entry, "LPD Server:"},
      {kRowShared, entry, "Queue Name:"},     {kRowSmbUser, entry, "User Name:"},
      {kRowSmbPassword, entry, "Password:"},  {kRowSmbWorkgroup, entry, "Workgroup:"},
      {kRowDriver, entry, "Windows Driver:"}, {kRowFilter, combo, "Use Filter:"},
      {kRowPPD, combo, "PPD Filter:"},
  };
  for (const auto& r : rows) {
    EXPECT_TRUE(G_TYPE_CHECK_INSTANCE_TYPE(infoFieldOf(infoBox, r.row), r.field)) << r.label;
    ASSERT_TRUE(GTK_IS_LABEL(infoLabelOf(infoBox, r.row))) << r.label;
    EXPECT_EQ(labelText(infoLabelOf(infoBox, r.row)), r.label);
  }
  EXPECT_FALSE(gtk_entry_get_visibility(GTK_ENTRY(infoFieldOf(infoBox, kRowSmbPassword))));
  EXPECT_EQ(ancestor(infoFieldOf(infoBox, kRowFilter), 2), infoBox);
  const std::pair<GtkWidget*, const char*> checks[] = {
      {formFeedCheckOf(infoBox), "Use Form Feed"},
      {makeDefaultCheckOf(infoBox), "Make Default"},
      {translateCheckOf(infoBox), "Translate"}};
  for (const auto& [check, label] : checks) {
    ASSERT_TRUE(GTK_IS_CHECK_BUTTON(check)) << label;
    EXPECT_STREQ(gtk_button_get_label(GTK_BUTTON(check)), label);
  }

  const char* buttonLabels[] = {"_Ok", "_Test", nullptr, "_Cancel"};
  for (int child = 1; child <= 4; ++child) {
    GtkWidget* widget = findWidget(editorButtonRowOf(windowBox), nullptr, child);
    if (buttonLabels[child - 1] == nullptr) {
      EXPECT_TRUE(GTK_IS_FIXED(widget));
      continue;
    }
    ASSERT_TRUE(GTK_IS_BUTTON(widget)) << child;
    EXPECT_STREQ(gtk_button_get_label(GTK_BUTTON(widget)), buttonLabels[child - 1]);
    EXPECT_EQ(editorWindowOf(widget), editor);
    EXPECT_EQ(windowBoxOfButton(widget), windowBox);
  }
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
  const std::map<TypeButton, std::set<int>> rows = {
      {kParallel, with({kRowDevice})},
      {kSerial, with({kRowDevice})},
      {kUSB, with({kRowDevice})},
      {kNetwork, with({kRowServer, kRowShared})},
      {kSamba, with(std::set<int>(std::begin(sambaOnly), std::end(sambaOnly)))},
  };
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
    if (type == kNetwork || type == kSamba) {
      const bool samba = type == kSamba;
      EXPECT_EQ(labelText(infoLabelOf(info, kRowServer)), samba ? "Samba Server:" : "LPD Server:");
      EXPECT_EQ(labelText(infoLabelOf(info, kRowShared)),
                samba ? "Shared Printer:" : "Queue Name:");
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
