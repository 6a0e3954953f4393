// Under a German locale with the built German catalogue installed where the program looks for
// it: the program's own texts are German, the ThinPrint page's texts and the ThinPrint delete
// confirmation stay as they stand.
#include <libintl.h>
#include <unistd.h>

#include <clocale>
#include <cstdlib>
#include <string>

#include "app/i18n.h"
#include "printers/editor.h"
#include "printers/printers_page.h"
#include "thinprint_fixture.h"

namespace tptest {
namespace {

// The build folder's locale/ tree lies beside tests/, where this binary is.
std::string builtCatalogue(const char* lang) {
  char exe[4096] = {};
  const ssize_t n = readlink("/proc/self/exe", exe, sizeof exe - 1);
  const std::string tests =
      n > 0 ? std::string(exe, n).substr(0, std::string(exe, n).rfind('/')) : std::string(".");
  return tests + "/../locale/" + lang + "/LC_MESSAGES/" SPM_TEXT_DOMAIN ".mo";
}

std::string joined(std::initializer_list<std::string> parts) {
  std::string out;
  for (const std::string& p : parts) out += (out.empty() ? "" : "|") + p;
  return out;
}
std::string buttonLabel(GtkWidget* button) {
  return gtk_button_get_label(GTK_BUTTON(button));
}
std::string labelText(GtkWidget* label) {
  return gtk_label_get_text(GTK_LABEL(label));
}
std::string columnTitle(GtkWidget* list, int column) {
  return labelText(gtk_clist_get_column_widget(GTK_CLIST(list), column));
}
std::string tabLabel(GtkWidget* notebook, int page) {
  return gtk_notebook_get_tab_label_text(GTK_NOTEBOOK(notebook),
                                         gtk_notebook_get_nth_page(GTK_NOTEBOOK(notebook), page));
}
GtkWidget* toplevelTitled(const std::string& title) {
  GList* windows = gtk_window_list_toplevels();
  GtkWidget* found = nullptr;
  for (GList* w = windows; w != nullptr; w = w->next) {
    const gchar* t = gtk_window_get_title(GTK_WINDOW(w->data));
    if (t != nullptr && title == t) found = GTK_WIDGET(w->data);
  }
  g_list_free(windows);
  return found;
}

class German : public ThinPrintPage {
 protected:
  void SetUp() override {
    ThinPrintPage::SetUp();
    ASSERT_EQ(std::system("locale -a | grep -qx de_DE.utf8 || "
                          "localedef --no-archive -i de_DE -f UTF-8 de_DE.UTF-8"),
              0);
    const std::string installed = std::string(SPM_LOCALE_DIR) + "/de/LC_MESSAGES";
    ASSERT_EQ(std::system(("mkdir -p " + installed + " && cp " + builtCatalogue("de") + " " +
                           installed + "/")
                              .c_str()),
              0)
        << "build the catalogues first (ninja catalogues)";
    writeFile(kThinPrintConf, "/dev/usb/lp0 Laser\n");
    unlink("/etc/printcap");
    previous_ = std::setlocale(LC_ALL, nullptr);
    ASSERT_NE(std::setlocale(LC_ALL, "de_DE.UTF-8"), nullptr);
    bindtextdomain(SPM_TEXT_DOMAIN, SPM_LOCALE_DIR);
    bind_textdomain_codeset(SPM_TEXT_DOMAIN, "UTF-8");
    textdomain(SPM_TEXT_DOMAIN);
  }
  void TearDown() override {
    std::setlocale(LC_ALL, previous_.c_str());
    ThinPrintPage::TearDown();
  }
  std::string previous_;
};

TEST_F(German, ProgramTextsTranslatedThinPrintTextsAsTheyStand) {
  CommandRecorder commands;
  window = buildMainWindow(PageBuilders{drawprinterlist, nullptr, thinprintpkg});
  notebook = mainNotebookOf(window);
  page = thinprintPageOf(notebook);
  ASSERT_NE(page, nullptr);
  list = tpListOf(page);
  column = tpButtonColumnOf(page);
  GtkWidget* printers = gtk_notebook_get_nth_page(GTK_NOTEBOOK(notebook), 0);
  GtkWidget* row = buttonRowOf(printers);

  EXPECT_EQ(joined({gtk_window_get_title(GTK_WINDOW(window)), tabLabel(notebook, 0),
                    tabLabel(notebook, 1), tabLabel(notebook, 2)}),
            "Kelvane Druckerverwaltung|Drucker|Druckaufträge|ThinPrint");
  EXPECT_EQ(joined({buttonLabel(bootSwitchOf(printers)), buttonLabel(widgetAt(row, {1})),
                    buttonLabel(widgetAt(row, {2})), buttonLabel(widgetAt(row, {3})),
                    buttonLabel(widgetAt(row, {5}))}),
            "LPD-Server beim Systemstart starten|Hinzufügen|Ändern|Löschen|Beenden");
  EXPECT_EQ(joined({buttonLabel(tpEnableOf(page)), labelText(widgetAt(page, {2, 1})),
                    labelText(widgetAt(page, {3, 1})), buttonLabel(tpBandwidthDefaultOf(page)),
                    labelText(widgetAt(page, {4, 1})), columnTitle(list, 0), columnTitle(list, 1),
                    buttonLabel(tpImportOf(column)), buttonLabel(tpAddOf(column)),
                    buttonLabel(tpModifyOf(column)), buttonLabel(tpDeleteOf(column)),
                    buttonLabel(tpSaveOf(column)), buttonLabel(tpExitOf(column))}),
            "Enable ThinPrint|ThinPrint Settings:|Bandwidth:|Use Default|Port:|Printer Name|Device|"
            "Import|Add|Modify|Delete|Save|Exit");

  // A refusal of the printer editor: "_OK" on an empty name.
  click(widgetAt(row, {1}));
  GtkWidget* editor = toplevelTitled("Neuen Drucker hinzufügen");
  ASSERT_NE(editor, nullptr);
  GtkWidget* editorRow = editorButtonRowOf(widgetAt(editor, {1}));
  EXPECT_EQ(buttonLabel(widgetAt(editorRow, {1})) + "|" + buttonLabel(widgetAt(editorRow, {2})),
            "_OK|_Testdruck");
  DialogAnswer refusal;
  answerNextDialog(GTK_RESPONSE_ACCEPT, &refusal);
  click(widgetAt(editorRow, {1}));
  EXPECT_EQ(
      refusal.title + "|" + refusal.message,
      "Fehler!|Der Druckername darf nur Buchstaben und Ziffern enthalten, keine Leerzeichen!");
  gtk_widget_destroy(editor);
  pumpEvents();

  DialogAnswer confirmation;
  answerNextDialog(GTK_RESPONSE_REJECT, &confirmation);
  click(tpDeleteOf(column));
  EXPECT_EQ(confirmation.title + "|" + confirmation.message,
            "Delete Printer Confirmation|Are you sure you want to delete 'Laser'?");
  EXPECT_EQ(clistRows(list), 1);
}

}  // namespace
}  // namespace tptest
