#include "printers/editor.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <set>

#include "printers_fixture.h"

namespace {

// Device files of all three kinds; tests run inside the sandbox's own /dev.
void makeDevices() {
  for (const char* path : {"/dev/lp0", "/dev/lp1", "/dev/usb/lp0", "/dev/ttyS0", "/dev/ttyS3"}) {
    writeFile(path, "");
  }
}

std::set<int> shownRows(GtkWidget* infoBox) {
  std::set<int> rows;
  for (int row = kRowName; row <= kRowDefault; ++row) {
    if (shown(infoRowOf(infoBox, static_cast<InfoRow>(row)))) rows.insert(row);
  }
  return rows;
}

std::string labelText(GtkWidget* label) {
  return gtk_label_get_text(GTK_LABEL(label));
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
  ASSERT_TRUE(GTK_IS_VBOX(windowBox));
  GtkWidget* typeBox = printerTypeBoxOf(windowBox);
  GtkWidget* infoBox = printerInfoBoxOf(windowBox);
  ASSERT_TRUE(GTK_IS_VBOX(typeBox));
  ASSERT_TRUE(GTK_IS_VBOX(infoBox));
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

  const struct {
    InfoRow row;
    GType field;
    const char* label;
  } rows[] = {
      {kRowName, GTK_TYPE_ENTRY, "Printer Name:"},
      {kRowDescription, GTK_TYPE_ENTRY, "Description:"},
      {kRowDevice, GTK_TYPE_COMBO_BOX, "Device Port:"},
      {kRowServer, GTK_TYPE_ENTRY, "LPD Server:"},
      {kRowShared, GTK_TYPE_ENTRY, "Queue Name:"},
      {kRowSmbUser, GTK_TYPE_ENTRY, "User Name:"},
      {kRowSmbPassword, GTK_TYPE_ENTRY, "Password:"},
      {kRowSmbWorkgroup, GTK_TYPE_ENTRY, "Workgroup:"},
      {kRowDriver, GTK_TYPE_ENTRY, "Windows Driver:"},
      {kRowFilter, GTK_TYPE_COMBO_BOX, "Use Filter:"},
      {kRowPPD, GTK_TYPE_COMBO_BOX, "PPD Filter:"},
  };
  for (const auto& r : rows) {
    EXPECT_TRUE(G_TYPE_CHECK_INSTANCE_TYPE(infoFieldOf(infoBox, r.row), r.field)) << r.label;
    ASSERT_TRUE(GTK_IS_LABEL(infoLabelOf(infoBox, r.row))) << r.label;
    EXPECT_EQ(labelText(infoLabelOf(infoBox, r.row)), r.label);
  }
  EXPECT_FALSE(gtk_entry_get_visibility(GTK_ENTRY(infoFieldOf(infoBox, kRowSmbPassword))));
  EXPECT_EQ(ancestor(infoFieldOf(infoBox, kRowFilter), 2), infoBox);

  const struct {
    GtkWidget* check;
    const char* label;
  } checks[] = {{formFeedCheckOf(infoBox), "Use Form Feed"},
                {makeDefaultCheckOf(infoBox), "Make Default"},
                {translateCheckOf(infoBox), "Translate"}};
  for (const auto& c : checks) {
    ASSERT_TRUE(GTK_IS_CHECK_BUTTON(c.check)) << c.label;
    EXPECT_STREQ(gtk_button_get_label(GTK_BUTTON(c.check)), c.label);
  }

  GtkWidget* buttonRow = editorButtonRowOf(windowBox);
  const char* buttonLabels[] = {"_Ok", "_Test", nullptr, "_Cancel"};
  for (int child = 1; child <= 4; ++child) {
    GtkWidget* widget = findWidget(buttonRow, nullptr, child);
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

TEST(PrinterEditor, EachTypeShowsItsRows) {
  setPresent("/usr/bin/smbclient", true);
  makeDevices();
  const std::set<int> always = {kRowName, kRowDescription, kRowDriver, kRowFilter,
                                kRowPPD,  kRowFormFeed,    kRowDefault};
  auto with = [&always](std::set<int> extra) {
    extra.insert(always.begin(), always.end());
    return extra;
  };
  const struct {
    TypeButton type;
    std::set<int> rows;
    const char* serverLabel;
    const char* sharedLabel;
    bool translate;
  } cases[] = {
      {kNetwork, with({kRowServer, kRowShared}), "LPD Server:", "Queue Name:", false},
      {kSamba, with({kRowServer, kRowShared, kRowSmbUser, kRowSmbPassword, kRowSmbWorkgroup}),
       "Samba Server:", "Shared Printer:", true},
      {kSerial, with({kRowDevice}), nullptr, nullptr, false},
      {kNetwork, with({kRowServer, kRowShared}), "LPD Server:", "Queue Name:", false},
      {kUSB, with({kRowDevice}), nullptr, nullptr, false},
      {kSamba, with({kRowServer, kRowShared, kRowSmbUser, kRowSmbPassword, kRowSmbWorkgroup}),
       "Samba Server:", "Shared Printer:", true},
      {kParallel, with({kRowDevice}), nullptr, nullptr, false},
  };
  PrintersPage page;
  CommandRecorder quiet;
  page.openAdd();
  GtkWidget* infoBox = page.infoBox();
  EXPECT_EQ(shownRows(infoBox), with({kRowDevice}));  // the Add form opens as Parallel
  EXPECT_FALSE(shown(translateCheckOf(infoBox)));
  for (const auto& c : cases) {
    gtk_button_clicked(GTK_BUTTON(page.typeButton(c.type)));
    ASSERT_TRUE(active(page.typeButton(c.type)));
    EXPECT_EQ(shownRows(infoBox), c.rows) << c.type;
    EXPECT_EQ(shown(translateCheckOf(infoBox)), c.translate) << c.type;
    EXPECT_TRUE(shown(makeDefaultCheckOf(infoBox))) << c.type;
    if (c.serverLabel != nullptr) {
      EXPECT_EQ(labelText(infoLabelOf(infoBox, kRowServer)), c.serverLabel);
      EXPECT_EQ(labelText(infoLabelOf(infoBox, kRowShared)), c.sharedLabel);
    }
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
    for (const char* path : {"/dev/lp0", "/dev/lp1", "/dev/usb", "/dev/ttyS0", "/dev/ttyS3"}) {
      removePath(path);
    }
    if (c.devices) makeDevices();
    PrintersPage page;
    page.openAdd();
    gtk_button_clicked(GTK_BUTTON(page.typeButton(kNetwork)));  // so the type button toggles
    CommandRecorder recorder(false);                            // the listings really run
    gtk_button_clicked(GTK_BUTTON(page.typeButton(c.type)));
    GtkWidget* devices = infoFieldOf(page.infoBox(), kRowDevice);
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
    // Showing the whole window again for Network must not bring it back.
    gtk_button_clicked(GTK_BUTTON(page.typeButton(kNetwork)));
    EXPECT_EQ(shown(page.typeButton(kSamba)), smbclient);
  }
  setPresent("/usr/bin/smbclient", true);
}

TEST(PrinterEditor, HiddenRowsKeepWhatWasTyped) {
  setPresent("/usr/bin/smbclient", true);
  PrintersPage page;
  CommandRecorder quiet;
  page.openAdd();
  GtkWidget* infoBox = page.infoBox();
  gtk_button_clicked(GTK_BUTTON(page.typeButton(kSamba)));
  const InfoRow typed[] = {kRowServer, kRowShared, kRowSmbUser, kRowSmbPassword, kRowSmbWorkgroup};
  for (InfoRow row : typed) {
    gtk_entry_set_text(GTK_ENTRY(infoFieldOf(infoBox, row)), std::to_string(row).c_str());
  }
  gtk_button_clicked(GTK_BUTTON(page.typeButton(kParallel)));
  gtk_button_clicked(GTK_BUTTON(page.typeButton(kSamba)));
  for (InfoRow row : typed) {
    EXPECT_EQ(entryText(infoFieldOf(infoBox, row)), std::to_string(row));
  }
  EXPECT_EQ(labelText(infoLabelOf(infoBox, kRowServer)), "Samba Server:");
}
