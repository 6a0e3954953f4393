#include "thinprint/thinprint_page.h"

#include <cerrno>
#include <optional>
#include <string>
#include <utility>

#include "app/files.h"
#include "app/i18n.h"
#include "app/rights.h"
#include "app/shell.h"
#include "app/startup.h"
#include "app/widgets.h"
#include "thinprint/thinprint_conf.h"
#include "thinprint/thinprint_editor.h"

int tprow_n = 0;

// page box > 1 "Enable ThinPrint"
GtkWidget* tpEnableOf(GtkWidget* pageBox) {
  return widgetAt(pageBox, {1});
}
// page box > 3 Bandwidth row > 2 entry
GtkWidget* tpBandwidthEntryOf(GtkWidget* pageBox) {
  return widgetAt(pageBox, {3, 2});
}
// page box > 3 Bandwidth row > 3 "Use Default"
GtkWidget* tpBandwidthDefaultOf(GtkWidget* pageBox) {
  return widgetAt(pageBox, {3, 3});
}
// page box > 4 Port row > 2 entry
GtkWidget* tpPortEntryOf(GtkWidget* pageBox) {
  return widgetAt(pageBox, {4, 2});
}
// page box > 4 Port row > 3 "Use Default"
GtkWidget* tpPortDefaultOf(GtkWidget* pageBox) {
  return widgetAt(pageBox, {4, 3});
}
// page box > 5 list row > 1 scrolled window > 1 ThinPrint printer list
GtkWidget* tpListOf(GtkWidget* pageBox) {
  return widgetAt(pageBox, {5, 1, 1});
}
// page box > 5 list row > 2 button column
GtkWidget* tpButtonColumnOf(GtkWidget* pageBox) {
  return widgetAt(pageBox, {5, 2});
}
// button column > 1 "Import"
GtkWidget* tpImportOf(GtkWidget* buttonColumn) {
  return widgetAt(buttonColumn, {1});
}
// button column > 2 "Add"
GtkWidget* tpAddOf(GtkWidget* buttonColumn) {
  return widgetAt(buttonColumn, {2});
}
// button column > 3 "Modify"
GtkWidget* tpModifyOf(GtkWidget* buttonColumn) {
  return widgetAt(buttonColumn, {3});
}
// button column > 4 "Delete"
GtkWidget* tpDeleteOf(GtkWidget* buttonColumn) {
  return widgetAt(buttonColumn, {4});
}
// button column > 6 "Save" (5 is the spacer)
GtkWidget* tpSaveOf(GtkWidget* buttonColumn) {
  return widgetAt(buttonColumn, {6});
}
// button column > 7 "Exit"
GtkWidget* tpExitOf(GtkWidget* buttonColumn) {
  return widgetAt(buttonColumn, {7});
}
// list < scrolled window < list row < page box
GtkWidget* tpPageOfList(GtkWidget* tplist) {
  return ancestor(tplist, 3);
}
// list < scrolled window < list row < page box < notebook < main window
GtkWidget* tpMainWindowOfList(GtkWidget* tplist) {
  return ancestor(tplist, 5);
}
// list < scrolled window < list row > 2 button column
GtkWidget* tpButtonColumnOfList(GtkWidget* tplist) {
  return widgetAt(ancestor(tplist, 2), {2});
}
// button < button column < list row < page box
GtkWidget* tpPageOfButton(GtkWidget* button) {
  return ancestor(button, 3);
}
// button < button column < list row > 1 scrolled window > 1 list
GtkWidget* tpListOfButton(GtkWidget* button) {
  return widgetAt(ancestor(button, 2), {1, 1});
}
GtkWidget* thinprintPageOf(GtkWidget* notebook) {
  if (gtk_notebook_get_n_pages(GTK_NOTEBOOK(notebook)) < 3) return nullptr;
  return gtk_notebook_get_nth_page(GTK_NOTEBOOK(notebook), 2);
}

void tpUpdateRowButtons(GtkWidget* buttonColumn, GtkWidget* tplist) {
  const gboolean hasRows = clistRows(tplist) > 0;
  gtk_widget_set_sensitive(tpModifyOf(buttonColumn), hasRows);
  gtk_widget_set_sensitive(tpDeleteOf(buttonColumn), hasRows);
}

namespace {

GtkWidget* packButton(GtkWidget* column, const char* label, GCallback handler, gpointer data) {
  GtkWidget* button = gtk_button_new_with_label(label);
  gtk_box_pack_start(GTK_BOX(column), button, FALSE, FALSE, 0);
  if (handler != nullptr) g_signal_connect(button, "clicked", handler, data);
  return button;
}

// Label, entry and "Use Default" of the Bandwidth and Port rows; the entry is child 2.
GtkWidget* settingRow(const char* label, const char* defaultTip, const char* entryTip,
                      GtkTooltips* tips) {
  GtkWidget* row = gtk_hbox_new(TRUE, 0);
  gtk_box_pack_start(GTK_BOX(row), gtk_label_new(label), FALSE, FALSE, 10);
  GtkWidget* entry = singleLineEntry();
  gtk_box_pack_start(GTK_BOX(row), entry, TRUE, TRUE, 0);
  GtkWidget* useDefault = gtk_check_button_new_with_label("Use Default");
  gtk_box_pack_start(GTK_BOX(row), useDefault, FALSE, FALSE, 10);
  gtk_tooltips_set_tip(tips, useDefault, defaultTip, nullptr);
  if (entryTip != nullptr) gtk_tooltips_set_tip(tips, entry, entryTip, nullptr);
  g_signal_connect(useDefault, "toggled", G_CALLBACK(ckbtnbandport_toggled), nullptr);
  return row;
}

GtkWidget* buildList() {
  GtkWidget* tplist = gtk_clist_new(2);
  addPlistCol(0, 240, "Printer Name", tplist, 1, GTK_JUSTIFY_LEFT);
  addPlistCol(1, 10, "Device", tplist, 1, GTK_JUSTIFY_LEFT);
  gtk_clist_column_titles_show(GTK_CLIST(tplist));
  gtk_clist_set_selection_mode(GTK_CLIST(tplist), GTK_SELECTION_BROWSE);
  g_signal_connect(tplist, "select_row", G_CALLBACK(tplist_selected), nullptr);
  return tplist;
}

GtkWidget* buildButtonColumn(GtkWidget* tplist, GtkWidget* pg1, GtkTooltips* tips) {
  GtkWidget* column = gtk_vbox_new(FALSE, 0);
  GtkWidget* import = packButton(column, "Import", G_CALLBACK(btntpimp_clicked), pg1);
  gtk_tooltips_set_tip(tips, import, "Import printer(s) from /etc/printcap file", nullptr);
  packButton(column, "Add", G_CALLBACK(btntpadd_clicked), tplist);
  packButton(column, "Modify", G_CALLBACK(btntpmod_clicked), tplist);
  packButton(column, "Delete", G_CALLBACK(btntpdel_clicked), tplist);
  // The spacer pushes Save and Exit to the bottom of the column.
  gtk_box_pack_start(GTK_BOX(column), gtk_fixed_new(), TRUE, TRUE, 0);
  GtkWidget* save = packButton(column, "Save", G_CALLBACK(btntpsave_clicked), tplist);
  gtk_tooltips_set_tip(
      tips, save, "Save your ThinPrint configuration and run the service if ThinPrint is enabled.",
      nullptr);
  packButton(column, "Exit", G_CALLBACK(window_destroyed), nullptr);
  return column;
}

GtkWidget* buildListRow(GtkWidget* pg1, GtkTooltips* tips) {
  GtkWidget* row = gtk_hbox_new(FALSE, 0);
  GtkWidget* scrolled = gtk_scrolled_window_new(nullptr, nullptr);
  gtk_scrolled_window_set_policy(GTK_SCROLLED_WINDOW(scrolled), GTK_POLICY_AUTOMATIC,
                                 GTK_POLICY_AUTOMATIC);
  GtkWidget* tplist = buildList();
  gtk_container_add(GTK_CONTAINER(scrolled), tplist);
  gtk_box_pack_start(GTK_BOX(row), scrolled, TRUE, TRUE, 5);
  gtk_box_pack_start(GTK_BOX(row), buildButtonColumn(tplist, pg1, tips), FALSE, FALSE, 5);
  return row;
}

void buildPage(GtkWidget* pageBox, GtkWidget* pg1) {
  GtkTooltips* tips = gtk_tooltips_new();
  GtkWidget* box = pageBox;
  gtk_box_pack_start(GTK_BOX(box), gtk_check_button_new_with_label("Enable ThinPrint"), FALSE,
                     FALSE, 10);
  GtkWidget* title = gtk_hbox_new(FALSE, 0);
  gtk_box_pack_start(GTK_BOX(title), gtk_label_new("ThinPrint Settings:"), FALSE, FALSE, 10);
  gtk_box_pack_start(GTK_BOX(box), title, FALSE, FALSE, 0);
  gtk_box_pack_start(GTK_BOX(box),
                     settingRow("Bandwidth:", "Use server setting; server default:256000 bit/s.",
                                "You can enter a bandwidth value which is the same or smaller "
                                "than that set in server or .print Engine.",
                                tips),
                     FALSE, FALSE, 5);
  gtk_box_pack_start(
      GTK_BOX(box),
      settingRow("Port:", "Use the tcp port number specified in /etc/services.", nullptr, tips),
      FALSE, FALSE, 0);
  gtk_box_pack_start(GTK_BOX(box), buildListRow(pg1, tips), TRUE, TRUE, 10);
}

// Value into the entry, and the row's "Use Default" off (its handler makes the entry sensitive).
void useSetting(GtkWidget* entry, GtkWidget* useDefault, const std::string& value) {
  gtk_entry_set_text(GTK_ENTRY(entry), value.c_str());
  gtk_toggle_button_set_active(GTK_TOGGLE_BUTTON(useDefault), FALSE);
}

// What Save writes: an entry counts when it is sensitive by its own flag.
ThinPrintSettings settingsFromPage(GtkWidget* pageBox, GtkWidget* tplist) {
  ThinPrintSettings settings;
  GtkWidget* bandwidth = tpBandwidthEntryOf(pageBox);
  GtkWidget* port = tpPortEntryOf(pageBox);
  settings.bandwidthInUse = gtk_widget_get_sensitive(bandwidth);
  settings.bandwidth = entryText(bandwidth);
  settings.portInUse = gtk_widget_get_sensitive(port);
  settings.port = entryText(port);
  const std::vector<std::string> names = clistColumn(tplist, 0);
  const std::vector<std::string> devices = clistColumn(tplist, 1);
  for (std::size_t row = 0; row < names.size(); ++row) {
    settings.printers.push_back({names[row], devices[row]});
  }
  return settings;
}

void startClient(const ThinPrintSettings& settings) {
  // A script that cannot be written leaves the client stopped, without a message.
  if (!replaceFile(kThinPrintScript, startScript(settings), 0755)) return;
  runCommand(std::string("chmod 755 ") + kThinPrintScript);
  runCommand(std::string("ln -s ") + kThinPrintScript + " " + kThinPrintBootLink);
  runCommand(std::string(kThinPrintScript) + " &");
}

}  // namespace

void thinprintpkg(GtkWidget* notebook, GtkWidget* pg1) {
  if (!canOpenForReading(kThinPrintClient)) return;
  GtkWidget* pageBox = gtk_vbox_new(FALSE, 0);
  gtk_container_add(GTK_CONTAINER(notebook), pageBox);
  gtk_notebook_set_tab_label_text(GTK_NOTEBOOK(notebook), pageBox, "ThinPrint");
  buildPage(pageBox, pg1);
  gtk_toggle_button_set_active(GTK_TOGGLE_BUTTON(tpBandwidthDefaultOf(pageBox)), TRUE);
  gtk_toggle_button_set_active(GTK_TOGGLE_BUTTON(tpPortDefaultOf(pageBox)), TRUE);
  GtkWidget* tplist = tpListOf(pageBox);
  readthinprintconf(tplist);
  if (canOpenForReading(kThinPrintScript)) {
    gtk_toggle_button_set_active(GTK_TOGGLE_BUTTON(tpEnableOf(pageBox)), TRUE);
  }
  GtkWidget* column = tpButtonColumnOf(pageBox);
  if (clistRows(tplist) == 0) tpUpdateRowButtons(column, tplist);
  // The rows, not their entries: Save reads an entry's own sensitivity.
  offerOnlyToRoot({tpEnableOf(pageBox), gtk_widget_get_parent(tpBandwidthEntryOf(pageBox)),
                   gtk_widget_get_parent(tpPortEntryOf(pageBox)), tpImportOf(column),
                   tpAddOf(column), tpModifyOf(column), tpDeleteOf(column), tpSaveOf(column)});
  gtk_widget_show_all(pageBox);
}

void readthinprintconf(GtkWidget* tplist) {
  std::optional<std::string> text = readWholeFile(kThinPrintConf);
  if (!text) return;
  const ThinPrintSettings settings = parseThinPrintConf(*text);
  rememberReadFile(kThinPrintConf, std::move(*text), thinPrintConfAsWritten);
  GtkWidget* pageBox = tpPageOfList(tplist);
  if (settings.bandwidthInUse) {
    useSetting(tpBandwidthEntryOf(pageBox), tpBandwidthDefaultOf(pageBox), settings.bandwidth);
  }
  if (settings.portInUse) {
    useSetting(tpPortEntryOf(pageBox), tpPortDefaultOf(pageBox), settings.port);
  }
  for (const ThinPrintPrinter& printer : settings.printers) {
    const gchar* cells[2] = {printer.name.c_str(), printer.device.c_str()};
    gtk_clist_append(GTK_CLIST(tplist), const_cast<gchar**>(cells));
  }
}

void ckbtnbandport_toggled(GtkWidget* widget, gpointer /*data*/) {
  const gboolean useDefault = gtk_toggle_button_get_active(GTK_TOGGLE_BUTTON(widget));
  // The entry keeps its text: switching back shows what was typed before.
  gtk_widget_set_sensitive(findWidget(gtk_widget_get_parent(widget), nullptr, 2), !useDefault);
}

void btntpsave_clicked(GtkWidget* widget, gpointer data) {
  GtkWidget* tplist = GTK_WIDGET(data);
  GtkWidget* pageBox = tpPageOfButton(widget);
  const bool enabled = gtk_toggle_button_get_active(GTK_TOGGLE_BUTTON(tpEnableOf(pageBox)));
  const ThinPrintSettings settings = settingsFromPage(pageBox, tplist);
  // Written whole and atomically, so stopping the client afterwards loses nothing.
  if (!replaceFile(kThinPrintConf, formatThinPrintConf(settings))) {
    showWriteFailure(errno, _("Error: Read only filesystem"),
                     _("Cannot write ThinPrint configuration to /etc/dorvek folder."),
                     _("Cannot write ThinPrint configuration to /etc/dorvek folder: the disk is "
                       "full."),
                     _("Cannot write ThinPrint configuration to /etc/dorvek folder: you have no "
                       "permission to change it; only root may."));
    return;
  }
  runCommand("killall -9 runthinprint");
  runCommand("killall -9 thnuclnt");
  if (enabled) {
    startClient(settings);
  } else {
    runCommand(std::string("rm -f ") + kThinPrintScript);
    runCommand(std::string("rm -f ") + kThinPrintBootLink);
  }
  showMessageDialog(_("Config Saved..."), _("ThinPrint configuration has been saved successfully."),
                    "gtk-dialog-info");
}
