// Sets up test_fleet.sh's reference client through the program's own windows, as an
// administrator would: "setup" adds a default Parallel, a Network and a Samba printer, turns the
// boot-time switch on and saves ThinPrint with every printer imported; "delete" deletes the
// Samba printer. Every command line runs for real; every dialog is answered "_Ok".
#include "../sandbox/inside_sandbox.h"
#include "app/startup.h"
#include "app/widgets.h"
#include "gui_support.h"
#include "printers/editor.h"
#include "printers/printers_page.h"
#include "thinprint/thinprint_page.h"

namespace {

using Fields = std::vector<std::pair<InfoRow, const char*>>;

void addPrinter(GtkWidget* window, GtkWidget* pageBox, TypeButton type, const Fields& fields) {
  click(findWidget(buttonRowOf(pageBox), nullptr, 1));  // Add
  GtkWidget* box = findWidget(editorOf(window), nullptr, 1);
  click(typeButtonOf(printerTypeBoxOf(box), type));
  for (const auto& [row, text] : fields)
    gtk_entry_set_text(GTK_ENTRY(infoFieldOf(printerInfoBoxOf(box), row)), text);
  if (type == kParallel) click(makeDefaultCheckOf(printerInfoBoxOf(box)));
  click(findWidget(editorButtonRowOf(box), nullptr, 1));  // "_Ok"
}

}  // namespace

int main(int argc, char** argv) {
  requireSandbox(argv[0]);
  gtk_init(&argc, &argv);
  DialogLog answerEveryDialog;
  GtkWidget* window = buildMainWindow(PageBuilders{drawprinterlist, nullptr, thinprintpkg});
  GtkWidget* printers = gtk_notebook_get_nth_page(GTK_NOTEBOOK(mainNotebookOf(window)), 0);
  if (argc > 1 && std::string(argv[1]) == "delete") {
    row_n = 2;
    click(deleteButtonOf(printers));
    return 0;
  }
  addPrinter(window, printers, kParallel, {{kRowName, "par"}});
  addPrinter(window, printers, kNetwork,
             {{kRowName, "net"}, {kRowServer, "localhost"}, {kRowShared, "par"}});
  addPrinter(window, printers, kSamba,
             {{kRowName, "smb"}, {kRowServer, "srv"}, {kRowShared, "laser"},
              {kRowSmbUser, "print"}, {kRowSmbPassword, "s3cret"}});
  gtk_toggle_button_set_active(GTK_TOGGLE_BUTTON(bootSwitchOf(printers)), TRUE);
  GtkWidget* thinprint = thinprintPageOf(mainNotebookOf(window));
  gtk_toggle_button_set_active(GTK_TOGGLE_BUTTON(tpEnableOf(thinprint)), TRUE);
  gtk_toggle_button_set_active(GTK_TOGGLE_BUTTON(tpBandwidthDefaultOf(thinprint)), FALSE);
  gtk_entry_set_text(GTK_ENTRY(tpBandwidthEntryOf(thinprint)), "128000");
  click(tpImportOf(tpButtonColumnOf(thinprint)));
  click(tpSaveOf(tpButtonColumnOf(thinprint)));
  return 0;
}
