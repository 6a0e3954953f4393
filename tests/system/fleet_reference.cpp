// test_fleet.sh's reference client, set up through the program's own windows: "setup" adds a
// default Parallel, a Network and a Samba printer in the editor, turns the boot-time switch on
// and saves ThinPrint with the printers imported; "delete" deletes the Samba printer. Command
// lines run for real; every dialog is answered "_Ok".
#include "../sandbox/inside_sandbox.h"
#include "app/startup.h"
#include "app/widgets.h"
#include "gui_support.h"
#include "printers/editor_paths.h"
#include "printers/printers_page.h"
#include "thinprint/thinprint_page.h"

int main(int argc, char** argv) {
  requireSandbox(argv[0]);
  gtk_init(&argc, &argv);
  DialogLog answerEveryDialog;
  GtkWidget* window = buildMainWindow(PageBuilders{drawprinterlist, nullptr, thinprintpkg});
  GtkWidget* printers = gtk_notebook_get_nth_page(GTK_NOTEBOOK(mainNotebookOf(window)), 0);
  row_n = 2;  // the Samba printer
  if (argc > 1 && std::string(argv[1]) == "delete") return click(deleteButtonOf(printers)), 0;
  // Each printer's type, then the texts of its rows in this order, as far as it has them.
  const InfoRow rows[] = {kRowName, kRowServer, kRowShared, kRowSmbUser, kRowSmbPassword};
  const std::pair<TypeButton, std::vector<const char*>> added[] = {
      {kParallel, {"par"}},
      {kNetwork, {"net", "localhost", "par"}},
      {kSamba, {"smb", "srv", "laser", "print", "s3cret"}}};
  for (const auto& [type, texts] : added) {
    click(findWidget(buttonRowOf(printers), nullptr, 1));  // Add
    GtkWidget* box = findWidget(editorOf(window), nullptr, 1);
    click(typeButtonOf(printerTypeBoxOf(box), type));
    for (size_t row = 0; row < texts.size(); ++row)
      gtk_entry_set_text(GTK_ENTRY(infoFieldOf(printerInfoBoxOf(box), rows[row])), texts[row]);
    if (type == kParallel) click(makeDefaultCheckOf(printerInfoBoxOf(box)));
    click(findWidget(editorButtonRowOf(box), nullptr, 1));  // "_Ok"
  }
  gtk_toggle_button_set_active(GTK_TOGGLE_BUTTON(bootSwitchOf(printers)), TRUE);
  GtkWidget* thinprint = thinprintPageOf(mainNotebookOf(window));
  gtk_toggle_button_set_active(GTK_TOGGLE_BUTTON(tpEnableOf(thinprint)), TRUE);
  gtk_toggle_button_set_active(GTK_TOGGLE_BUTTON(tpBandwidthDefaultOf(thinprint)), FALSE);
  gtk_entry_set_text(GTK_ENTRY(tpBandwidthEntryOf(thinprint)), "128000");
  click(tpImportOf(tpButtonColumnOf(thinprint)));
  click(tpSaveOf(tpButtonColumnOf(thinprint)));
}
