// Editing the ThinPrint printer list: the editor window, Delete and Import.
#include "thinprint/thinprint_editor.h"

#include "thinprint_fixture.h"

namespace tptest {
namespace {

class ThinPrintList : public ThinPrintPage {
 protected:
  // The open editor window, or nullptr.
  static GtkWidget* editor() {
    GList* windows = gtk_window_list_toplevels();
    GtkWidget* found = nullptr;
    for (GList* w = windows; w != nullptr; w = w->next) {
      const gchar* title = gtk_window_get_title(GTK_WINDOW(w->data));
      if (!GTK_IS_DIALOG(w->data) && title && g_str_has_prefix(title, "ThinPrint: ")) {
        found = GTK_WIDGET(w->data);
      }
    }
    g_list_free(windows);
    return found;
  }
  GtkWidget* nameEntry() { return tpEditorNameEntryOf(tpEditorBoxOf(editor())); }
  GtkWidget* deviceEntry() { return tpEditorDeviceEntryOf(tpEditorBoxOf(editor())); }
  // Types into the open editor and presses "_Ok"; gives the refusal's message, if any. The
  // answer is only armed when a refusal is expected, so it can never reach a later dialog.
  std::string typeAndOk(const std::string& name, const std::string& device, bool refused = false) {
    gtk_entry_set_text(GTK_ENTRY(nameEntry()), name.c_str());
    gtk_entry_set_text(GTK_ENTRY(deviceEntry()), device.c_str());
    DialogAnswer answer;
    if (refused) answerNextDialog(GTK_RESPONSE_ACCEPT, &answer);
    click(tpEditorOkOf(tpEditorBoxOf(editor())));
    if (refused) {
      EXPECT_EQ(answer.title, "Error: Couldn't add new printer");
    }
    return answer.message;
  }
  void select(int row) { gtk_clist_select_row(GTK_CLIST(list), row, 0); }
};

TEST_F(ThinPrintList, EditorLayoutAndTheMainWindowWhileItIsOpen) {
  build();
  click(tpAddOf(column));
  GtkWidget* editorWindow = editor();
  ASSERT_NE(editorWindow, nullptr);
  EXPECT_STREQ(gtk_window_get_title(GTK_WINDOW(editorWindow)), "ThinPrint: Add Printer");
  GtkWidget* box = tpEditorBoxOf(editorWindow);
  EXPECT_TRUE(GTK_IS_ENTRY(nameEntry()) && GTK_IS_ENTRY(deviceEntry()));
  EXPECT_TRUE(GTK_IS_HSEPARATOR(widgetAt(box, {3})));
  EXPECT_EQ(std::string(gtk_label_get_text(GTK_LABEL(widgetAt(box, {1, 1})))) + "|" +
                gtk_label_get_text(GTK_LABEL(widgetAt(box, {2, 1}))) + "|" +
                gtk_button_get_label(GTK_BUTTON(tpEditorOkOf(box))) + "|" +
                gtk_button_get_label(GTK_BUTTON(tpEditorCancelOf(box))),
            "Printer Name:|Device:|_Ok|_Cancel");
  EXPECT_EQ(tpEditorWindowOfButton(tpEditorCancelOf(box)), editorWindow);
  EXPECT_FALSE(sensitive(window));
  click(tpEditorCancelOf(box));
  EXPECT_EQ(editor(), nullptr);
  EXPECT_TRUE(sensitive(window));
  EXPECT_EQ(clistRows(list), 0);
}

TEST_F(ThinPrintList, OkChecksTheNameFirstAndStoresSpacedTextsInQuotes) {
  const struct {
    const char *name, *device;
    const char* refusal;  // "" when accepted
    const char *storedName, *storedDevice;
  } cases[] = {
      {"", "", "Printer name should not be empty!", nullptr, nullptr},
      {"Laser", "", "Device name should not be empty!", nullptr, nullptr},
      {"Laser", "/dev/usb/lp0", "", "Laser", "/dev/usb/lp0"},
      {"Office Laser", "/dev/lp0", "", "\"Office Laser\"", "/dev/lp0"},
      {"Bob's \"big\" one", "my dev", "", "Bob's \"big\" one", "\"my dev\""},
      {"  ", " ", "", "\"  \"", "\" \""},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(std::string(c.name) + "|" + c.device);
    reset();
    build();
    click(tpAddOf(column));
    EXPECT_EQ(typeAndOk(c.name, c.device, *c.refusal != 0), c.refusal);
    if (c.storedName == nullptr) {
      // Refused: the editor stays open with what was typed, the list is unchanged.
      ASSERT_NE(editor(), nullptr);
      EXPECT_EQ(entryText(nameEntry()), c.name);
      EXPECT_EQ(clistRows(list), 0);
      EXPECT_FALSE(sensitive(window));
      gtk_widget_destroy(editor());
    } else {
      EXPECT_EQ(editor(), nullptr);
      EXPECT_EQ(listRows(list), (Rows{{c.storedName, c.storedDevice}}));
      expectEditable(true);
    }
    EXPECT_TRUE(sensitive(window));
  }
}

TEST_F(ThinPrintList, AddKeepsDuplicatesAndModifyShowsNamesWithoutQuotes) {
  build();
  const Rows added = {
      {"Laser", "/dev/lp0"}, {"Laser", "/dev/lp0"}, {"Office Laser", "/dev/usb/lp0"}};
  for (const auto& [name, device] : added) {
    click(tpAddOf(column));
    ASSERT_NE(editor(), nullptr);
    EXPECT_EQ(typeAndOk(name, device), "");
  }
  select(2);
  EXPECT_EQ(tprow_n, 2);
  click(tpModifyOf(column));
  ASSERT_NE(editor(), nullptr);
  EXPECT_STREQ(gtk_window_get_title(GTK_WINDOW(editor())), "ThinPrint: Modify Printer");
  EXPECT_EQ(entryText(nameEntry()), "Office Laser");
  EXPECT_EQ(entryText(deviceEntry()), "/dev/usb/lp0");
  // Ok puts the quotes back and changes the row in place.
  EXPECT_EQ(typeAndOk("Office Laser", "/dev/usb/lp1"), "");
  EXPECT_EQ(listRows(list), (Rows{added[0], added[1], {"\"Office Laser\"", "/dev/usb/lp1"}}));
}

// The name is shown as it is, not taken for markup; only Ok removes the row.
TEST_F(ThinPrintList, DeleteAsksAndRemovesOnlyOnOk) {
  const Rows all = {{"A", "/dev/lp0"}, {"<b>B</b>", "/dev/lp1"}, {"C", "/dev/lp2"}};
  const char* const three = "/dev/lp0 A\n/dev/lp1 <b>B</b>\n/dev/lp2 C\n";
  const struct {
    const char* conf;
    int response;
    Rows after;
  } cases[] = {
      {three, GTK_RESPONSE_ACCEPT, {all[0], all[2]}},
      {three, GTK_RESPONSE_REJECT, all},
      {three, GTK_RESPONSE_DELETE_EVENT, all},
      {"/dev/lp1 <b>B</b>\n", GTK_RESPONSE_ACCEPT, {}},  // the last row
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(std::string(c.conf) + std::to_string(c.response));
    reset();
    writeFile(kThinPrintConf, c.conf);
    build();
    select(c.after.empty() ? 0 : 1);
    DialogAnswer answer;
    answerNextDialog(c.response, &answer);
    click(tpDeleteOf(column));
    EXPECT_EQ(answer.title, "Delete Printer Confirmation");
    EXPECT_EQ(answer.message, "Are you sure you want to delete '<b>B</b>'?");
    EXPECT_EQ(listRows(list), c.after);
    expectEditable(!c.after.empty());
    for (GtkWidget* b : {tpAddOf(column), tpImportOf(column), tpSaveOf(column)}) {
      EXPECT_TRUE(sensitive(b));
    }
  }
}

TEST_F(ThinPrintList, ImportTakesLocalDevicesAndQueueNamesOnce) {
  standInPrinters() = {
      {"usbp", "USB", "/dev/usb/lp0"},
      {"parp", "Parallel", "/dev/lp0"},
      {"serp", "serial", "/dev/ttyS0"},
      {"netp", "Network", "queue@localhost"},
      {"smbp", "SAMBA", "|/etc/dorvek/samba/smbp.sh"},
      {"odd", "Unknown", "/dev/odd"},
      {"kept", "USB", "/dev/usb/lp9"},
  };
  writeFile(kThinPrintConf, "/dev/mine kept\n");
  build();
  click(tpImportOf(column));
  const Rows expected = {{"kept", "/dev/mine"},  {"usbp", "/dev/usb/lp0"}, {"parp", "/dev/lp0"},
                         {"serp", "/dev/ttyS0"}, {"netp", "netp"},         {"smbp", "smbp"}};
  EXPECT_EQ(listRows(list), expected);
  click(tpImportOf(column));
  EXPECT_EQ(listRows(list), expected);
}

TEST_F(ThinPrintList, ImportSetsModifyAndDeleteOnlyWhenRowsResult) {
  const std::pair<std::vector<StandInPrinter>, bool> cases[] = {
      {{}, false},
      {{{"odd", "Unknown", "/dev/odd"}}, false},
      {{{"u", "USB", "/dev/usb/lp0"}}, true}};
  for (const auto& [printers, rowsAfter] : cases) {
    reset();
    standInPrinters() = printers;
    build();
    click(tpImportOf(column));
    EXPECT_EQ(clistRows(list) > 0, rowsAfter);
    expectEditable(rowsAfter);
  }
}

}  // namespace
}  // namespace tptest
