// The real Printers page in a main window, on system files set up in the sandbox.
#pragma once

#include <gtk/gtk.h>

#include <algorithm>
#include <filesystem>
#include <fstream>
#include <string>
#include <vector>

#include "app/startup.h"
#include "app/widgets.h"
#include "gui_support.h"
#include "printers/editor.h"
#include "printers/printers_page.h"
#include "store/printcap.h"
#include "store/printer_table.h"

inline void writeFile(const std::string& path, const std::string& content) {
  std::filesystem::create_directories(std::filesystem::path(path).parent_path());
  std::ofstream(path, std::ios::binary) << content;
}
inline std::string fileText(const std::string& path) {
  std::ifstream in(path, std::ios::binary);
  return std::string(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
}
inline void removePath(const std::string& path) {
  std::error_code ignored;
  std::filesystem::remove_all(path, ignored);
}
inline void setPresent(const std::string& path, bool present) {
  present ? writeFile(path, "#!/bin/sh\n") : removePath(path);
}
// Exactly these files in a folder that may not exist yet.
inline void fillFolder(const std::string& folder, const std::vector<std::string>& names) {
  removePath(folder);
  std::filesystem::create_directories(folder);
  for (const std::string& name : names) writeFile(folder + "/" + name, "");
}
// Position of a recorded command line, or -1.
inline int lineAt(const std::vector<std::string>& lines, const std::string& line) {
  const auto it = std::find(lines.begin(), lines.end(), line);
  return it == lines.end() ? -1 : static_cast<int>(it - lines.begin());
}

using Lines = std::vector<std::string>;

// Default Parallel, a Network and a Samba printer.
inline std::vector<PrinterRow> samplePrinters() {
  return {
      {"Yes", "lp1", "Office", "Parallel", "/dev/lp1", "/usr/lib/lprng/filters/lpf", "", "", "YES"},
      {"", "net1", "Hall", "Network", "queue1@localhost", "/usr/bin/foomatic-rip",
       "/usr/local/lib/b.ppd", "HP LaserJet", ""},
      {"", "smb1", "Upstairs", "Samba", "|/etc/dorvek/samba/smb1.sh", "/usr/lib/lprng/filters/gone",
       "", "", ""},
  };
}

inline std::vector<std::string> comboItems(GtkWidget* combo) {
  std::vector<std::string> items;
  GtkTreeModel* model = gtk_combo_box_get_model(GTK_COMBO_BOX(combo));
  GtkTreeIter iter;
  for (gboolean ok = gtk_tree_model_get_iter_first(model, &iter); ok;
       ok = gtk_tree_model_iter_next(model, &iter)) {
    gchar* text = nullptr;
    gtk_tree_model_get(model, &iter, 0, &text, -1);
    items.push_back(takeGStr(text).get());
  }
  return items;
}

inline constexpr auto shown = [](GtkWidget* w) { return gtk_widget_get_visible(w) != FALSE; };
inline constexpr auto sensitive = [](GtkWidget* w) { return gtk_widget_get_sensitive(w) != FALSE; };
inline constexpr auto active = [](GtkWidget* w) {
  return gtk_toggle_button_get_active(GTK_TOGGLE_BUTTON(w)) != FALSE;
};
inline constexpr auto click = [](GtkWidget* w) { gtk_button_clicked(GTK_BUTTON(w)); };
inline constexpr auto labelText = [](GtkWidget* w) {
  return std::string(gtk_label_get_text(GTK_LABEL(w)));
};

// The buttons' labels, each followed by "|"; "?|" for what is not a button.
inline std::string buttonLabels(std::initializer_list<GtkWidget*> buttons) {
  std::string labels;
  for (GtkWidget* b : buttons) {
    labels += std::string(GTK_IS_BUTTON(b) ? gtk_button_get_label(GTK_BUTTON(b)) : "?") + "|";
  }
  return labels;
}

class PrintersPage {
 public:
  // Without a printcap when `printcap` is false.
  explicit PrintersPage(const std::vector<PrinterRow>& rows = samplePrinters(),
                        bool printcap = true) {
    writeFile("/etc/printcap", formatPrintcap(rows));
    if (!printcap) removePath("/etc/printcap");
    row_n = 0;
    CommandRecorder quiet;  // a present boot script is written anew while building
    window = buildMainWindow(PageBuilders{drawprinterlist});
    pageBox = gtk_notebook_get_nth_page(GTK_NOTEBOOK(mainNotebookOf(window)), 0);
    table = printerTableOf(pageBox);
  }
  ~PrintersPage() {
    if (GtkWidget* open = editor()) gtk_widget_destroy(open);
    gtk_widget_destroy(window);
    pumpEvents();
  }
  PrintersPage(const PrintersPage&) = delete;
  PrintersPage& operator=(const PrintersPage&) = delete;

  // The open printer editor: the top-level window made transient for the main window.
  GtkWidget* editor() const {
    GList* windows = gtk_window_list_toplevels();
    GtkWidget* found = nullptr;
    for (GList* w = windows; w != nullptr; w = w->next) {
      if (gtk_window_get_transient_for(GTK_WINDOW(w->data)) == GTK_WINDOW(window)) {
        found = GTK_WIDGET(w->data);
      }
    }
    g_list_free(windows);
    return found;
  }
  GtkWidget* windowBox() const { return findWidget(editor(), nullptr, 1); }
  GtkWidget* infoBox() const { return printerInfoBoxOf(windowBox()); }
  GtkWidget* field(InfoRow row) const { return infoFieldOf(infoBox(), row); }
  GtkWidget* typeButton(TypeButton which) const {
    return typeButtonOf(printerTypeBoxOf(windowBox()), which);
  }
  void openAdd() const { click(widgetAt(pageBox, {3, 1})); }
  void openModify(int row) const {
    row_n = row;
    click(modifyButtonOf(pageBox));
  }

  GtkWidget* window = nullptr;
  GtkWidget* pageBox = nullptr;
  GtkWidget* table = nullptr;
};
