#include "printers/choosers.h"

#include <optional>
#include <string>
#include <vector>

#include "app/files.h"
#include "app/output.h"
#include "app/shell.h"
#include "app/text.h"
#include "app/widgets.h"
#include "printers/editor_paths.h"
#include "printers/listings.h"
#include "printers/page_paths.h"
#include "printers/store_adapters.h"
#include "store/samba.h"

namespace {

const char* const kFoomatic = "/usr/bin/foomatic-rip";
const char* const kNone = "None";

int comboItemCount(GtkWidget* combo) {
  return gtk_tree_model_iter_n_children(gtk_combo_box_get_model(GTK_COMBO_BOX(combo)), nullptr);
}

std::string comboItem(GtkWidget* combo, int index) {
  GtkTreeModel* model = gtk_combo_box_get_model(GTK_COMBO_BOX(combo));
  GtkTreeIter iter;
  if (!gtk_tree_model_iter_nth_child(model, &iter, nullptr, index)) return std::string();
  gchar* text = nullptr;
  gtk_tree_model_get(model, &iter, 0, &text, -1);
  GStr owned = takeGStr(text);
  return owned ? std::string(owned.get()) : std::string();
}

// Index of the first item equal to value; with stopAtNone, "None" (any case) ends the walk
// too, so a filter or PPD that is no longer installed falls back to "None". -1: no item.
int walkTo(GtkWidget* combo, const std::string& value, bool stopAtNone) {
  const int count = comboItemCount(combo);
  for (int index = 0; index < count; ++index) {
    const std::string item = comboItem(combo, index);
    if (item == value || (stopAtNone && equalsIgnoreCase(item, kNone))) return index;
  }
  return -1;
}

void selectWalked(GtkWidget* combo, const std::string& value, bool stopAtNone) {
  gtk_combo_box_set_active(GTK_COMBO_BOX(combo), walkTo(combo, value, stopAtNone));
}

void setEntry(GtkWidget* infoBox, InfoRow row, const std::string& text) {
  gtk_entry_set_text(GTK_ENTRY(infoFieldOf(infoBox, row)), text.c_str());
}

void setCheck(GtkWidget* check, bool active) {
  gtk_toggle_button_set_active(GTK_TOGGLE_BUTTON(check), active ? TRUE : FALSE);
}

// Emitting first makes the layout follow even when the button is already the active one.
void chooseType(GtkWidget* typeBox, TypeButton which) {
  GtkWidget* button = typeButtonOf(typeBox, which);
  g_signal_emit_by_name(button, "toggled");
  setCheck(button, true);
}

void loadType(GtkWidget* windowBox, const PrinterRow& printer) {
  GtkWidget* typeBox = printerTypeBoxOf(windowBox);
  GtkWidget* infoBox = printerInfoBoxOf(windowBox);
  const std::string& type = printer[kColType];
  const std::string& device = printer[kColDevice];
  const struct {
    const char* word;
    TypeButton button;
  } ports[] = {{kTypeParallel, kParallel}, {kTypeSerial, kSerial}, {kTypeUSB, kUSB}};
  for (const auto& port : ports) {
    if (equalsIgnoreCase(type, port.word)) {
      chooseType(typeBox, port.button);
      // A port that is gone leaves nothing selected; saving then asks for one.
      selectWalked(infoFieldOf(infoBox, kRowDevice), device, false);
      return;
    }
  }
  if (equalsIgnoreCase(type, kTypeNetwork)) {
    chooseType(typeBox, kNetwork);
    setEntry(infoBox, kRowServer, getstrafter(device, "@"));
    setEntry(infoBox, kRowShared, getstrbefore(device, "@"));
    return;
  }
  // Anything else, "Unknown" included, can only have been a Samba pipe: its script knows.
  chooseType(typeBox, kSamba);
  readSamba(infoBox);
}

}  // namespace

std::vector<std::string> readListing(const std::string& command, const std::string& path) {
  const std::optional<std::string> text = commandOutput(command, path);
  return text ? listingItems(*text) : std::vector<std::string>{};
}

void fill_filters(GtkWidget* cbprfilter) {
  const std::vector<std::string> filters =
      readListing("ls /usr/lib/lprng/filters/* -1 > /tmp/filters.list", "/tmp/filters.list");
  for (const std::string& filter : filters) {
    gtk_combo_box_append_text(GTK_COMBO_BOX(cbprfilter), filter.c_str());
  }
  const int preselected = preselectedFilter(filters);
  if (canOpenForReading(kFoomatic)) gtk_combo_box_append_text(GTK_COMBO_BOX(cbprfilter), kFoomatic);
  gtk_combo_box_append_text(GTK_COMBO_BOX(cbprfilter), kNone);
  gtk_combo_box_set_active(GTK_COMBO_BOX(cbprfilter), preselected);
}

void fill_PPD(GtkWidget* cbprPPD) {
  for (const std::string& ppd :
       readListing("ls /usr/local/lib/*.ppd -1 > /tmp/ppd.list", "/tmp/ppd.list")) {
    gtk_combo_box_append_text(GTK_COMBO_BOX(cbprPPD), ppd.c_str());
  }
  gtk_combo_box_append_text(GTK_COMBO_BOX(cbprPPD), kNone);
  gtk_combo_box_set_active(GTK_COMBO_BOX(cbprPPD), 0);
}

void cbfilter_changed(GtkWidget* widget, gpointer /*data*/) {
  // Chooser > row 10 > Printer Info box; a PPD only means something to Foomatic.
  GtkWidget* infoBox = ancestor(widget, 2);
  gtk_widget_set_sensitive(infoRowOf(infoBox, kRowPPD),
                           equalsIgnoreCase(comboActiveText(widget), kFoomatic));
}

void loadPrinterRow(GtkWidget* windowBox, GtkWidget* prtlist) {
  const PrinterRow printer = tableRow(prtlist, row_n);
  GtkWidget* infoBox = printerInfoBoxOf(windowBox);
  if (equalsIgnoreCase(printer[kColDefault], "Yes")) {
    // The default printer stays the default; only another printer can take the mark.
    setCheck(makeDefaultCheckOf(infoBox), true);
    gtk_widget_set_sensitive(makeDefaultCheckOf(infoBox), FALSE);
  }
  setCheck(formFeedCheckOf(infoBox), equalsIgnoreCase(printer[kColFQ], "YES"));
  setEntry(infoBox, kRowName, printer[kColName]);
  setEntry(infoBox, kRowDescription, printer[kColDescription]);
  loadType(windowBox, printer);
  setEntry(infoBox, kRowDriver, printer[kColWD]);
  selectWalked(infoFieldOf(infoBox, kRowFilter), printer[kColFilter], true);
  selectWalked(infoFieldOf(infoBox, kRowPPD), printer[kColPPD], true);
}
