// The real Printers page in a main window, on system files set up in the sandbox.
#pragma once

#include <gtk/gtk.h>

#include <algorithm>
#include <filesystem>
#include <fstream>
#include <optional>
#include <string>
#include <vector>

#include "app/startup.h"
#include "app/widgets.h"
#include "gui_support.h"
#include "printers/editor.h"
#include "printers/printers_page.h"
#include "store/printcap.h"
#include "store/printer_table.h"

using Lines = std::vector<std::string>;

inline void writeFile(const std::string& path, const std::string& content) {
  std::filesystem::create_directories(std::filesystem::path(path).parent_path());
  std::ofstream(path, std::ios::binary) << content;
}
inline std::string fileText(const std::string& path) {
  std::ifstream in(path, std::ios::binary);
  return std::string(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
}
inline Lines comboItems(GtkWidget* combo) {
  Lines items;
  GtkTreeModel* model = gtk_combo_box_get_model(GTK_COMBO_BOX(combo));
  GtkTreeIter it;
  for (gboolean ok = gtk_tree_model_get_iter_first(model, &it); ok;
       ok = gtk_tree_model_iter_next(model, &it)) {
    gchar* text = nullptr;
    gtk_tree_model_get(model, &it, 0, &text, -1);
    items.push_back(takeGStr(text).get());
  }
  return items;
}
inline constexpr auto shown = [](GtkWidget* w) { return gtk_widget_get_visible(w) != FALSE; };
inline constexpr auto sensitive = [](GtkWidget* w) { return gtk_widget_get_sensitive(w) != FALSE; };
inline constexpr auto click = [](GtkWidget* w) { gtk_button_clicked(GTK_BUTTON(w)); };

// A default Parallel, a Network and a Samba printer (its filter not installed).
inline std::vector<PrinterRow> samplePrinters() {
  const std::string filters = "/usr/lib/lprng/filters/";
  return {{"Yes", "lp1", "Office", "Parallel", "/dev/lp1", filters + "lpf", "", "", "YES"},
          {"", "net1", "Hall", "Network", "q1@host", "/usr/bin/foomatic-rip",
           "/usr/local/lib/b.ppd", "HP", ""},
          {"", "smb1", "Upstairs", "Samba", "|/etc/dorvek/samba/smb1.sh", filters + "gone", "", "",
           ""}};
}

// The page on the printcap of `rows` (nullopt: the printcap as found), and its editor.
class PrintersPage {
 public:
  explicit PrintersPage(std::optional<std::vector<PrinterRow>> rows = samplePrinters()) {
    if (rows) writeFile(kPrintcapPath, formatPrintcap(*rows));
    row_n = 0;
    CommandRecorder quiet;  // a present boot script is written anew while building
    window = buildMainWindow(PageBuilders{drawprinterlist});
    pageBox = gtk_notebook_get_nth_page(GTK_NOTEBOOK(mainNotebookOf(window)), 0);
    table = printerTableOf(pageBox);
  }
  ~PrintersPage() {
    if (editor() != nullptr) gtk_widget_destroy(editor());
    gtk_widget_destroy(window);
    pumpEvents();
  }
  // The printer editor: the window made transient for the main window.
  GtkWidget* editor() const {
    GList* windows = gtk_window_list_toplevels();
    GtkWidget* found = nullptr;
    for (GList* w = windows; w != nullptr; w = w->next) {
      if (gtk_window_get_transient_for(GTK_WINDOW(w->data)) == GTK_WINDOW(window))
        found = GTK_WIDGET(w->data);
    }
    g_list_free(windows);
    return found;
  }
  GtkWidget* box() const { return findWidget(editor(), nullptr, 1); }
  GtkWidget* info() const { return printerInfoBoxOf(box()); }
  GtkWidget* field(InfoRow row) const { return infoFieldOf(info(), row); }
  GtkWidget* type(TypeButton t) const { return typeButtonOf(printerTypeBoxOf(box()), t); }
  GtkWidget* button(int n) const { return findWidget(editorButtonRowOf(box()), nullptr, n); }
  void set(InfoRow row, const char* text) const { gtk_entry_set_text(GTK_ENTRY(field(row)), text); }
  void open(int row) const {  // -1: Add
    row_n = std::max(row, 0);
    click(row < 0 ? widgetAt(pageBox, {3, 1}) : modifyButtonOf(pageBox));
  }

  GtkWidget* window = nullptr;
  GtkWidget* pageBox = nullptr;
  GtkWidget* table = nullptr;
};
