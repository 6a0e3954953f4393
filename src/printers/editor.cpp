#include "printers/editor.h"

#include <cstring>

#include "app/files.h"
#include "app/i18n.h"
#include "app/text.h"
#include "app/widgets.h"
#include "find/find_dialogs.h"
#include "printers/choosers.h"
#include "printers/editor_paths.h"
#include "printers/save.h"

namespace {

struct TypeButtonDef {
  const char* label;
  GCallback handler;
  const char* data;
};

const TypeButtonDef kTypeButtons[] = {
    {N_("Parallel Printer"), G_CALLBACK(rbparORusb_clicked), "parallel"},
    {N_("Serial Printer"), G_CALLBACK(rbparORusb_clicked), "serial"},
    {N_("USB Printer"), G_CALLBACK(rbparORusb_clicked), "USB"},
    {N_("Network Printer"), G_CALLBACK(rbnetwork_clicked), nullptr},
    {N_("Samba Printer"), G_CALLBACK(rbsamba_clicked), nullptr},
};

const char* const kDeviceListing = "/tmp/prdev.list";

GtkWidget* packFrame(GtkWidget* windowBox, const char* title, gboolean expand) {
  GtkWidget* frame = gtk_frame_new(title);
  gtk_box_pack_start(GTK_BOX(windowBox), frame, expand, expand, 0);
  GtkWidget* box = gtk_vbox_new(FALSE, 0);
  gtk_container_add(GTK_CONTAINER(frame), box);
  return box;
}

void buildTypeButtons(GtkWidget* typeBox) {
  GtkWidget* previous = nullptr;
  for (const TypeButtonDef& def : kTypeButtons) {
    GtkWidget* button = previous == nullptr ? gtk_radio_button_new_with_label(nullptr, _(def.label))
                                            : gtk_radio_button_new_with_label_from_widget(
                                                  GTK_RADIO_BUTTON(previous), _(def.label));
    gtk_box_pack_start(GTK_BOX(typeBox), button, FALSE, FALSE, 0);
    g_signal_connect(button, "toggled", def.handler,
                     const_cast<gpointer>(static_cast<const void*>(def.data)));
    previous = button;
  }
}

void packRow(GtkWidget* infoBox, GtkWidget* row) {
  gtk_box_pack_start(GTK_BOX(infoBox), row, FALSE, FALSE, 0);
}

// Looks like an entry row: combo and label packed from the end, so the label is child 1.
GtkWidget* packChooserRow(GtkWidget* infoBox, const char* label) {
  GtkWidget* row = gtk_hbox_new(FALSE, 0);
  GtkWidget* combo = gtk_combo_box_new_text();
  gtk_widget_set_size_request(combo, 200, -1);
  gtk_box_pack_end(GTK_BOX(row), combo, FALSE, FALSE, 10);
  gtk_box_pack_end(GTK_BOX(row), gtk_label_new(label), FALSE, FALSE, 10);
  packRow(infoBox, row);
  return combo;
}

GtkWidget* checkRow(std::initializer_list<const char*> labels) {
  GtkWidget* row = gtk_hbox_new(FALSE, 0);
  for (const char* label : labels) {
    gtk_box_pack_start(GTK_BOX(row), gtk_check_button_new_with_label(label), FALSE, FALSE, 10);
  }
  return row;
}

// After the row's field, as children 3, 4...: packed from the end but first in the list, so
// the label and the field keep their places.
void appendToRow(GtkWidget* row, GtkWidget* widget, GtkSizeGroup* column) {
  gtk_size_group_add_widget(column, widget);
  gtk_box_pack_end(GTK_BOX(row), widget, FALSE, FALSE, 0);
  gtk_box_reorder_child(GTK_BOX(row), widget, 0);
}

GtkWidget* rowButton(const char* label, GCallback handler) {
  GtkWidget* button = gtk_button_new_with_mnemonic(label);
  g_signal_connect(button, "clicked", handler, nullptr);
  return button;
}

// Find... and Browse... stand in a column of their own, so every field stays aligned.
void addServerButtons(GtkWidget* infoBox) {
  GtkSizeGroup* column = gtk_size_group_new(GTK_SIZE_GROUP_HORIZONTAL);
  GtkWidget* serverRow = infoRowOf(infoBox, kRowServer);
  appendToRow(serverRow, rowButton(_("_Find..."), G_CALLBACK(buttonFind_clicked)), column);
  appendToRow(serverRow, rowButton(_("_Browse..."), G_CALLBACK(buttonBrowse_clicked)), column);
  for (int row = kRowName; row <= kRowPPD; ++row) {
    if (row != kRowServer) appendToRow(infoRowOf(infoBox, InfoRow(row)), gtk_fixed_new(), column);
  }
  g_object_unref(column);
}

void buildInfoRows(GtkWidget* infoBox) {
  packRow(infoBox, info_entry(_("Printer Name:")));
  packRow(infoBox, info_entry(_("Description:")));
  packChooserRow(infoBox, _("Device Port:"));
  packRow(infoBox, info_entry(_("LPD Server:")));
  packRow(infoBox, info_entry(_("Queue Name:")));
  packRow(infoBox, info_entry(_("User Name:")));
  GtkWidget* password = info_entry(_("Password:"));
  gtk_entry_set_visibility(GTK_ENTRY(findWidget(password, nullptr, 2)), FALSE);
  packRow(infoBox, password);
  packRow(infoBox, info_entry(_("Workgroup:")));
  packRow(infoBox, info_entry(_("Windows Driver:")));
  // Connected before filling, so the PPD row follows the preselected filter.
  GtkWidget* filter = packChooserRow(infoBox, _("Use Filter:"));
  g_signal_connect(filter, "changed", G_CALLBACK(cbfilter_changed), nullptr);
  packChooserRow(infoBox, _("PPD Filter:"));
  // TRANSLATORS: check box: the printer gets a form feed after each job.
  packRow(infoBox, checkRow({_("Use Form Feed")}));
  // TRANSLATORS: check boxes: "Make Default" makes this the default printer; "Translate"
  // (Samba printers) turns the line ends of text jobs into those of Windows (LF to CR LF).
  packRow(infoBox, checkRow({_("Make Default"), _("Translate")}));
  addServerButtons(infoBox);
}

void packEditorButton(GtkWidget* row, const char* label, GCallback handler, gpointer data) {
  GtkWidget* button = gtk_button_new_with_mnemonic(label);
  g_signal_connect(button, "clicked", handler, data);
  gtk_box_pack_start(GTK_BOX(row), button, FALSE, TRUE, 0);
}

void buildEditorButtons(GtkWidget* windowBox, GtkWidget* prtlist) {
  GtkWidget* row = gtk_hbox_new(TRUE, 0);
  gtk_box_pack_start(GTK_BOX(windowBox), row, FALSE, FALSE, 0);
  packEditorButton(row, _("_Ok"), G_CALLBACK(BtnPrintOkTest_clicked), prtlist);
  // TRANSLATORS: button (a verb): prints a test page on the printer being edited.
  packEditorButton(row, _("_Test"), G_CALLBACK(BtnPrintOkTest_clicked), prtlist);
  gtk_box_pack_start(GTK_BOX(row), gtk_fixed_new(), FALSE, TRUE, 0);
  packEditorButton(row, _("_Cancel"), G_CALLBACK(BtnPrintCancel_clicked), nullptr);
}

void setServerLabels(GtkWidget* infoBox, const char* server, const char* shared) {
  gtk_label_set_text(GTK_LABEL(infoLabelOf(infoBox, kRowServer)), server);
  gtk_label_set_text(GTK_LABEL(infoLabelOf(infoBox, kRowShared)), shared);
}

const char* deviceListingCommand(const char* kind) {
  const std::string which = kind != nullptr ? kind : "";
  if (equalsIgnoreCase(which, "parallel")) return "ls /dev/lp* -1 > /tmp/prdev.list";
  if (equalsIgnoreCase(which, "USB")) return "ls /dev/usb/lp* -1 > /tmp/prdev.list";
  return "ls /dev/ttyS* -1 > /tmp/prdev.list";
}

}  // namespace

void AddModifyprinter(const char* title, GtkWidget* prtlist) {
  // Table > scrolled window > page box > notebook > main window.
  GtkWidget* mainWindow = ancestor(prtlist, 4);
  const bool addForm = std::strcmp(title, _("Add New Printer")) == 0;
  GtkWidget* window = newEditorWindow(title, mainWindow, 2);
  GtkWidget* windowBox = gtk_vbox_new(FALSE, 0);
  gtk_container_add(GTK_CONTAINER(window), windowBox);
  buildTypeButtons(packFrame(windowBox, _("Printer Type"), FALSE));
  GtkWidget* infoBox = packFrame(windowBox, _("Printer Info"), TRUE);
  buildInfoRows(infoBox);
  buildEditorButtons(windowBox, prtlist);
  gtk_widget_show_all(window);
  fill_filters(infoFieldOf(infoBox, kRowFilter));
  fill_PPD(infoFieldOf(infoBox, kRowPPD));
  GtkWidget* typeBox = printerTypeBoxOf(windowBox);
  if (addForm) {
    g_signal_emit_by_name(typeButtonOf(typeBox, kParallel), "toggled");
  } else {
    loadPrinterRow(windowBox, prtlist);
  }
  if (!pathExists("/usr/bin/smbclient")) {
    // Without smbclient a Samba printer could never print; keep the type out of reach.
    GtkWidget* samba = typeButtonOf(typeBox, kSamba);
    gtk_widget_hide(samba);
    gtk_widget_set_no_show_all(samba, TRUE);
  }
}

void rbparORusb_clicked(GtkWidget* widget, gpointer data) {
  GtkWidget* infoBox = printerInfoBoxOf(ancestor(widget, 3));
  GtkWidget* devices = infoFieldOf(infoBox, kRowDevice);
  gtk_list_store_clear(GTK_LIST_STORE(gtk_combo_box_get_model(GTK_COMBO_BOX(devices))));
  for (const std::string& device :
       readListing(deviceListingCommand(static_cast<const char*>(data)), kDeviceListing)) {
    gtk_combo_box_append_text(GTK_COMBO_BOX(devices), device.c_str());
  }
  gtk_combo_box_set_active(GTK_COMBO_BOX(devices), 0);
  gtk_widget_show(infoRowOf(infoBox, kRowDevice));
  for (InfoRow row : {kRowServer, kRowShared, kRowSmbUser, kRowSmbPassword, kRowSmbWorkgroup}) {
    gtk_widget_hide(infoRowOf(infoBox, row));
  }
  gtk_widget_hide(translateCheckOf(infoBox));
}

void rbnetwork_clicked(GtkWidget* widget, gpointer /*data*/) {
  GtkWidget* windowBox = ancestor(widget, 3);
  GtkWidget* infoBox = printerInfoBoxOf(windowBox);
  gtk_widget_show_all(windowBox);
  setServerLabels(infoBox, _("LPD Server:"), _("Queue Name:"));
  for (InfoRow row : {kRowDevice, kRowSmbUser, kRowSmbPassword, kRowSmbWorkgroup}) {
    gtk_widget_hide(infoRowOf(infoBox, row));
  }
  gtk_widget_hide(translateCheckOf(infoBox));
  gtk_widget_hide(browseButtonOf(infoBox));
}

void rbsamba_clicked(GtkWidget* widget, gpointer /*data*/) {
  GtkWidget* windowBox = ancestor(widget, 3);
  GtkWidget* infoBox = printerInfoBoxOf(windowBox);
  gtk_widget_show_all(windowBox);
  setServerLabels(infoBox, _("Samba Server:"), _("Shared Printer:"));
  gtk_widget_show(translateCheckOf(infoBox));
  gtk_widget_hide(infoRowOf(infoBox, kRowDevice));
  gtk_widget_hide(findButtonOf(infoBox));
}

void buttonFind_clicked(GtkWidget* widget, gpointer /*data*/) {
  GtkWidget* infoBox = ancestor(widget, 2);
  FoundPrinter chosen;
  if (!findNetworkPrinter(gtk_widget_get_toplevel(widget),
                          entryText(infoFieldOf(infoBox, kRowServer)), &chosen))
    return;
  gtk_entry_set_text(GTK_ENTRY(infoFieldOf(infoBox, kRowServer)), chosen.host.c_str());
  gtk_entry_set_text(GTK_ENTRY(infoFieldOf(infoBox, kRowShared)), chosen.queue.c_str());
}

void buttonBrowse_clicked(GtkWidget* widget, gpointer /*data*/) {
  GtkWidget* infoBox = ancestor(widget, 2);
  const ShareQuestion question{entryText(infoFieldOf(infoBox, kRowServer)),
                               entryText(infoFieldOf(infoBox, kRowSmbUser)),
                               entryText(infoFieldOf(infoBox, kRowSmbPassword)),
                               entryText(infoFieldOf(infoBox, kRowSmbWorkgroup))};
  std::string share;
  if (browsePrinterShares(gtk_widget_get_toplevel(widget), question, &share))
    gtk_entry_set_text(GTK_ENTRY(infoFieldOf(infoBox, kRowShared)), share.c_str());
}

void BtnPrintCancel_clicked(GtkWidget* widget, gpointer /*data*/) {
  gtk_widget_destroy(editorWindowOf(widget));
}
