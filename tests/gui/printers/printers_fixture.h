// The real Printers page in a main window, on system files set up in the sandbox.
#pragma once

#include <gtest/gtest.h>
#include <gtk/gtk.h>
#include <unistd.h>

#include <algorithm>
#include <filesystem>
#include <optional>
#include <string>

#include "app/shell.h"
#include "app/startup.h"
#include "app/widgets.h"
#include "gui_support.h"
#include "printers/editor.h"
#include "printers/editor_paths.h"
#include "printers/printers_page.h"
#include "printers/store_adapters.h"

// The page on `printcap` (nullopt: as found) and its editor. The sample: a default Parallel, a
// Network and a Samba printer (its filter not installed) and one of unknown type.
class PrintersPage {
 public:
  explicit PrintersPage(std::optional<std::string> printcap = golden("sample.printcap")) {
    if (printcap) writeFile("/etc/printcap", *printcap);
    row_n = 0;
    CommandRecorder recorder;  // a present boot script is written anew while building
    window = buildMainWindow(PageBuilders{drawprinterlist});
    started = recorder.lines();
    pageBox = gtk_notebook_get_nth_page(GTK_NOTEBOOK(mainNotebookOf(window)), 0);
    table = printerTableOf(pageBox);
  }
  ~PrintersPage() {
    if (editor() != nullptr) gtk_widget_destroy(editor());
    gtk_widget_destroy(window);
    pumpEvents();
  }
  GtkWidget* editor() const { return editorOf(window); }
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
  Lines started;  // the command lines run while building
};
