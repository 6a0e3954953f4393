#include "thinprint/thinprint_editor.h"

#include <string>

#include "app/i18n.h"
#include "app/text.h"
#include "app/widgets.h"
#include "printers/store_adapters.h"
#include "thinprint/thinprint_conf.h"
#include "thinprint/thinprint_page.h"

// window > 1 vertical box
GtkWidget* tpEditorBoxOf(GtkWidget* window) {
  return widgetAt(window, {1});
}
// box > 1 name row > 2 entry
GtkWidget* tpEditorNameEntryOf(GtkWidget* box) {
  return widgetAt(box, {1, 2});
}
// box > 2 device row > 2 entry
GtkWidget* tpEditorDeviceEntryOf(GtkWidget* box) {
  return widgetAt(box, {2, 2});
}
// box > 4 button row > 1 "_Ok"
GtkWidget* tpEditorOkOf(GtkWidget* box) {
  return widgetAt(box, {4, 1});
}
// box > 4 button row > 3 "_Cancel" (2 is the spacer)
GtkWidget* tpEditorCancelOf(GtkWidget* box) {
  return widgetAt(box, {4, 3});
}
// button < button row < box
GtkWidget* tpEditorBoxOfButton(GtkWidget* button) {
  return ancestor(button, 2);
}
// button < button row < box < window
GtkWidget* tpEditorWindowOfButton(GtkWidget* button) {
  return ancestor(button, 3);
}

namespace {

// The editor's mode is its title, compared as the translated text without case.
bool titleIs(GtkWidget* window, const char* translatedTitle) {
  const gchar* title = gtk_window_get_title(GTK_WINDOW(window));
  return title != nullptr && equalsIgnoreCase(title, translatedTitle);
}

GtkWidget* buildEditorButtons(GtkWidget* tplist) {
  GtkWidget* row = gtk_hbox_new(TRUE, 0);
  GtkWidget* ok = gtk_button_new_with_mnemonic(_("_Ok"));
  gtk_box_pack_start(GTK_BOX(row), ok, FALSE, TRUE, 0);
  g_signal_connect(ok, "clicked", G_CALLBACK(tpbtnok_clicked), tplist);
  gtk_box_pack_start(GTK_BOX(row), gtk_fixed_new(), TRUE, TRUE, 0);
  GtkWidget* cancel = gtk_button_new_with_mnemonic(_("_Cancel"));
  gtk_box_pack_end(GTK_BOX(row), cancel, FALSE, TRUE, 0);
  g_signal_connect(cancel, "clicked", G_CALLBACK(tpbtnexit_clicked), tplist);
  return row;
}

GtkWidget* buildEditorBox(GtkWidget* tplist) {
  GtkWidget* box = gtk_vbox_new(FALSE, 0);
  gtk_box_pack_start(GTK_BOX(box), info_entry(_("Printer Name:")), FALSE, FALSE, 0);
  gtk_box_pack_start(GTK_BOX(box), info_entry(_("Device:")), FALSE, FALSE, 0);
  gtk_box_pack_start(GTK_BOX(box), gtk_hseparator_new(), FALSE, FALSE, 5);
  gtk_box_pack_start(GTK_BOX(box), buildEditorButtons(tplist), FALSE, FALSE, 0);
  GtkTooltips* tips = gtk_tooltips_new();
  gtk_tooltips_set_tip(tips, tpEditorNameEntryOf(box),
                       _("Printer name must be exact match to the one on server."), nullptr);
  gtk_tooltips_set_tip(tips, tpEditorDeviceEntryOf(box),
                       _("Use the device port for your local printer (/dev/lp0, /dev/usb/lp0, "
                         "etc).\nFor network printer, use the printer name on your /etc/printcap."),
                       nullptr);
  return box;
}

// Shows a stored text without the quotes the editor added to it.
void showStored(GtkWidget* entry, const std::string& stored) {
  gtk_entry_set_text(GTK_ENTRY(entry), strmakeup(stored, " \"", 0).c_str());
}

void refuseEmpty(const char* message) {
  showMessageDialog(_("Error: Couldn't add new printer"), message, "gtk-dialog-error");
}

// Name and device that Import takes from a printer row; false for a type it skips.
bool importable(GtkWidget* table, int row, std::string* name, std::string* device) {
  const std::string type = clistCell(table, row, kColType);
  *name = clistCell(table, row, kColName);
  for (const char* local : {kTypeUSB, kTypeParallel, kTypeSerial}) {
    if (equalsIgnoreCase(type, local)) {
      *device = clistCell(table, row, kColDevice);
      return true;
    }
  }
  // A remote queue goes to the client by the name of its local spooler queue.
  for (const char* remote : {kTypeNetwork, kTypeSamba}) {
    if (equalsIgnoreCase(type, remote)) {
      *device = *name;
      return true;
    }
  }
  return false;
}

}  // namespace

void addmodtp(GtkWidget* tplist, const char* title) {
  GtkWidget* mainWindow = tpMainWindowOfList(tplist);
  gtk_widget_set_sensitive(mainWindow, FALSE);
  GtkWidget* window = newEditorWindow(title, mainWindow, 5);
  GtkWidget* box = buildEditorBox(tplist);
  gtk_container_add(GTK_CONTAINER(window), box);
  if (titleIs(window, _("ThinPrint: Modify Printer")) && clistRows(tplist) > 0) {
    showStored(tpEditorNameEntryOf(box), clistCell(tplist, tprow_n, 0));
    showStored(tpEditorDeviceEntryOf(box), clistCell(tplist, tprow_n, 1));
  }
  gtk_widget_show_all(window);
}

void tplist_selected(GtkWidget* /*widget*/, gint row, gint /*column*/, GdkEventButton* /*event*/,
                     gpointer /*data*/) {
  tprow_n = row;
}

void btntpadd_clicked(GtkWidget* /*widget*/, gpointer data) {
  addmodtp(GTK_WIDGET(data), _("ThinPrint: Add Printer"));
}

void btntpmod_clicked(GtkWidget* /*widget*/, gpointer data) {
  addmodtp(GTK_WIDGET(data), _("ThinPrint: Modify Printer"));
}

void tpbtnok_clicked(GtkWidget* widget, gpointer data) {
  GtkWidget* tplist = GTK_WIDGET(data);
  GtkWidget* box = tpEditorBoxOfButton(widget);
  const std::string typedName = entryText(tpEditorNameEntryOf(box));
  if (typedName.empty()) return refuseEmpty(_("Printer name should not be empty!"));
  const std::string name = storedText(typedName);
  const std::string typedDevice = entryText(tpEditorDeviceEntryOf(box));
  if (typedDevice.empty()) return refuseEmpty(_("Device name should not be empty!"));
  const std::string device = storedText(typedDevice);
  GtkWidget* window = tpEditorWindowOfButton(widget);
  if (titleIs(window, _("ThinPrint: Add Printer"))) {
    const gchar* cells[2] = {name.c_str(), device.c_str()};
    gtk_clist_append(GTK_CLIST(tplist), const_cast<gchar**>(cells));
    tpUpdateRowButtons(tpButtonColumnOfList(tplist), tplist);
  } else {
    gtk_clist_set_text(GTK_CLIST(tplist), tprow_n, 0, name.c_str());
    gtk_clist_set_text(GTK_CLIST(tplist), tprow_n, 1, device.c_str());
  }
  gtk_widget_destroy(window);
}

void tpbtnexit_clicked(GtkWidget* widget, gpointer /*data*/) {
  gtk_widget_destroy(tpEditorWindowOfButton(widget));
}

void btntpdel_clicked(GtkWidget* widget, gpointer data) {
  GtkWidget* tplist = GTK_WIDGET(data);
  const std::string name = clistCell(tplist, tprow_n, 0);
  // The question is read as markup; a name with '<' or '&' must not break or restyle it.
  const std::string question = "Are you sure you want to delete '" + markupEscape(name) + "'?";
  if (!confirmDialog("Delete Printer Confirmation", question)) return;
  gtk_clist_remove(GTK_CLIST(tplist), tprow_n);
  tpUpdateRowButtons(gtk_widget_get_parent(widget), tplist);
}

void btntpimp_clicked(GtkWidget* widget, gpointer data) {
  GtkWidget* table = printerTableOf(GTK_WIDGET(data));
  GtkWidget* tplist = tpListOfButton(widget);
  const int rows = clistRows(table);
  for (int row = 0; row < rows; ++row) {
    std::string name;
    std::string device;
    if (!importable(table, row, &name, &device)) continue;
    // Only Import refuses a name the list already holds, compared as stored.
    if (find_data(tplist, name.c_str(), 0) >= 0) continue;
    const gchar* cells[2] = {name.c_str(), device.c_str()};
    gtk_clist_append(GTK_CLIST(tplist), const_cast<gchar**>(cells));
  }
  if (clistRows(tplist) > 0) tpUpdateRowButtons(gtk_widget_get_parent(widget), tplist);
}
