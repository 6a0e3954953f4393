// A sandboxed system with the ThinPrint client installed, a main window with a stand-in
// Printers page, and small ways to look at the ThinPrint page.
#pragma once

#include <gtest/gtest.h>
#include <gtk/gtk.h>
#include <sys/stat.h>
#include <unistd.h>

#include <fstream>
#include <string>
#include <utility>
#include <vector>

#include "app/startup.h"
#include "app/widgets.h"
#include "gui_support.h"
#include "store/printer_table.h"
#include "thinprint/thinprint_conf.h"
#include "thinprint/thinprint_page.h"

namespace tptest {

using Rows = std::vector<std::pair<std::string, std::string>>;  // name, device

struct StandInPrinter {
  const char *name, *type, *device;
};
inline std::vector<StandInPrinter>& standInPrinters() {
  static std::vector<StandInPrinter> printers;
  return printers;
}

// The Printers page's layout: check button, scrolled 9-column printer table, button row.
inline void standInPrintersPage(GtkWidget* pageBox) {
  gtk_box_pack_start(GTK_BOX(pageBox), gtk_check_button_new_with_label("boot"), FALSE, FALSE, 0);
  GtkWidget* scrolled = gtk_scrolled_window_new(nullptr, nullptr);
  GtkWidget* table = gtk_clist_new(kPrinterColumns);
  for (const StandInPrinter& p : standInPrinters()) {
    const gchar* cells[kPrinterColumns] = {"", p.name, "desc", p.type, p.device, "", "", "", "NO"};
    gtk_clist_append(GTK_CLIST(table), const_cast<gchar**>(cells));
  }
  gtk_container_add(GTK_CONTAINER(scrolled), table);
  gtk_box_pack_start(GTK_BOX(pageBox), scrolled, TRUE, TRUE, 0);
  gtk_box_pack_start(GTK_BOX(pageBox), gtk_hbox_new(TRUE, 0), FALSE, FALSE, 0);
}

inline void writeFile(const std::string& path, const std::string& content) {
  std::ofstream(path, std::ios::trunc | std::ios::binary) << content;
}
inline std::string readFile(const std::string& path) {
  std::ifstream in(path, std::ios::binary);
  return std::string(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
}
inline Rows listRows(GtkWidget* list) {
  Rows rows;
  for (int r = 0; r < clistRows(list); ++r)
    rows.push_back({clistCell(list, r, 0), clistCell(list, r, 1)});
  return rows;
}
inline constexpr auto sensitive = [](GtkWidget* w) { return gtk_widget_get_sensitive(w) != FALSE; };
inline constexpr auto active = [](GtkWidget* w) {
  return gtk_toggle_button_get_active(GTK_TOGGLE_BUTTON(w)) != FALSE;
};

class ThinPrintPage : public testing::Test {
 protected:
  void SetUp() override {
    g_mkdir_with_parents("/usr/share/thinprint", 0755);
    g_mkdir_with_parents("/etc/dorvek", 0755);
    g_mkdir_with_parents("/etc/init.d", 0755);
    writeFile(kThinPrintClient, "#!/bin/sh\n");
    unlink(kThinPrintConf);
    unlink(kThinPrintScript);
    standInPrinters().clear();
    tprow_n = 0;
  }
  void TearDown() override {
    if (window != nullptr) gtk_widget_destroy(window);
    window = nullptr;
    pumpEvents();
    unlink(kThinPrintConf);
    unlink(kThinPrintScript);
  }
  // A fresh system for the next case of a table.
  void reset() {
    TearDown();
    SetUp();
  }
  void build() {
    window = buildMainWindow(PageBuilders{standInPrintersPage, nullptr, thinprintpkg});
    notebook = mainNotebookOf(window);
    page = thinprintPageOf(notebook);
    ASSERT_NE(page, nullptr);
    list = tpListOf(page);
    column = tpButtonColumnOf(page);
  }
  void click(GtkWidget* button) {
    gtk_button_clicked(GTK_BUTTON(button));
    pumpEvents();
  }
  // Leaves "Use Default" and types the value.
  void setValue(GtkWidget* useDefault, GtkWidget* entry, const char* text) {
    gtk_toggle_button_set_active(GTK_TOGGLE_BUTTON(useDefault), FALSE);
    gtk_entry_set_text(GTK_ENTRY(entry), text);
  }
  void append(const std::string& name, const std::string& device) {
    const gchar* cells[2] = {name.c_str(), device.c_str()};
    gtk_clist_append(GTK_CLIST(list), const_cast<gchar**>(cells));
  }
  // Saves, answering the dialog that follows; gives its title and message.
  std::pair<std::string, std::string> save() {
    DialogAnswer answer;
    answerNextDialog(GTK_RESPONSE_ACCEPT, &answer);
    click(tpSaveOf(column));
    return {answer.title, answer.message};
  }
  void expectEditable(bool rows) {
    EXPECT_EQ(sensitive(tpModifyOf(column)), rows);
    EXPECT_EQ(sensitive(tpDeleteOf(column)), rows);
  }

  GtkWidget* window = nullptr;
  GtkWidget* notebook = nullptr;
  GtkWidget* page = nullptr;
  GtkWidget* list = nullptr;
  GtkWidget* column = nullptr;
};

}  // namespace tptest
