// The ThinPrint client installed in the sandbox, the main window, and ways to drive the page.
#pragma once

#include <gtest/gtest.h>
#include <unistd.h>

#include <cstdlib>

#include "app/files.h"
#include "app/startup.h"
#include "app/widgets.h"
#include "gui_support.h"
#include "printers/printers_page.h"
#include "thinprint/thinprint_conf.h"
#include "thinprint/thinprint_editor.h"
#include "thinprint/thinprint_page.h"

class ThinPrint : public testing::Test {
 protected:
  void SetUp() override {
    ASSERT_EQ(std::system("mkdir -p /usr/share/thinprint /etc/dorvek"), 0);
    for (const char* file : {kThinPrintConf, kThinPrintScript}) unlink(file);
    replaceFile(kThinPrintClient, "#!/bin/sh\n", 0755);
  }
  void TearDown() override { gtk_widget_destroy(window); }
  void build() {
    CommandRecorder quiet;  // the Printers page asks the spooler
    window = buildMainWindow(PageBuilders{drawprinterlist, nullptr, thinprintpkg});
    page = thinprintPageOf(mainNotebookOf(window));
    if (page == nullptr) return;
    list = tpListOf(page);
    column = tpButtonColumnOf(page);
  }
  bool editable() const { return sensitive(tpModifyOf(column)) && sensitive(tpDeleteOf(column)); }
  // Clicks with the dialogs answered; gives their "title: message" lines.
  static std::string click(GtkWidget* button, int response = GTK_RESPONSE_ACCEPT) {
    DialogLog log(response);
    gtk_button_clicked(GTK_BUTTON(button));
    pumpEvents();
    return log.text();
  }
  GtkWidget* editorWindow() const { return editorOf(window); }
  std::string typeAndOk(const char* name, const char* device) const {
    GtkWidget* box = tpEditorBoxOf(editorWindow());
    gtk_entry_set_text(GTK_ENTRY(tpEditorNameEntryOf(box)), name);
    gtk_entry_set_text(GTK_ENTRY(tpEditorDeviceEntryOf(box)), device);
    return click(tpEditorOkOf(box));
  }
  std::string listed() const {  // "name=device;" a row, as stored
    std::string out;
    for (int r = 0; r < clistRows(list); ++r)
      out += clistCell(list, r, 0) + "=" + clistCell(list, r, 1) + ";";
    return out;
  }

  GtkWidget *window = nullptr, *page = nullptr, *list = nullptr, *column = nullptr;
};
