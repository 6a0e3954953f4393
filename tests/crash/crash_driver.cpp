// Repeats one saving action (lines swallowed, writes real) for crash_test.sh to SIGKILL at will.
//   crash_driver start | ACTION COUNT   (ACTION: save, delete, test, thinprint; COUNT 0: forever)
#include <gtk/gtk.h>
#include <sys/stat.h>
#include <sys/syscall.h>
#include <unistd.h>

#include <cstdlib>
#include <string>

#include "../sandbox/inside_sandbox.h"
#include "app/files.h"
#include "app/shell.h"
#include "app/startup.h"
#include "app/widgets.h"
#include "printers/editor_paths.h"
#include "printers/printers_page.h"
#include "printers/store_adapters.h"
#include "thinprint/thinprint_page.h"

// The test print waits a second for the spooler; nothing here needs the wait.
extern "C" unsigned int sleep(unsigned int) {
  return 0;
}

// Files go to a thin client's flash at about 20 MB/s: a kill lands inside a write as often.
extern "C" ssize_t write(int fd, const void* data, size_t size) {
  struct stat st;
  if (fstat(fd, &st) == 0 && S_ISREG(st.st_mode)) usleep(static_cast<useconds_t>(size / 20));
  return syscall(SYS_write, fd, data, size);
}

// Answers every dialog with "_Ok" as soon as it shows; the last other window: the editor.
static GtkWidget* editor = nullptr;
static gboolean scanWindows(gpointer main) {
  GList* windows = gtk_window_list_toplevels();
  editor = nullptr;
  for (GList* w = windows; w != nullptr; w = w->next) {
    if (GTK_IS_DIALOG(w->data))
      gtk_dialog_response(GTK_DIALOG(w->data), GTK_RESPONSE_ACCEPT);
    else if (gtk_window_get_transient_for(GTK_WINDOW(w->data)) == main)
      editor = GTK_WIDGET(w->data);
  }
  g_list_free(windows);
  return TRUE;
}

int main(int argc, char** argv) {
  requireSandbox(argv[0]);
  gtk_init(&argc, &argv);
  const std::string action = argc > 1 ? argv[1] : "";
  setCommandObserver([](const std::string&) { return true; });
  GtkWidget* window = buildMainWindow(PageBuilders{drawprinterlist, nullptr, thinprintpkg});
  if (action == "start") return 0;
  g_timeout_add(1, scanWindows, window);
  GtkWidget* pageBox = gtk_notebook_get_nth_page(GTK_NOTEBOOK(mainNotebookOf(window)), 0);
  GtkWidget* table = printerTableOf(pageBox);
  GtkWidget* tp = thinprintPageOf(mainNotebookOf(window));
  replaceFile("/tmp/crash.ready", "");
  const long count = argc > 2 ? std::atol(argv[2]) : 0;
  for (long round = 0; count == 0 || round < count; ++round) {
    const bool odd = round % 2;
    if (action == "delete") {  // the first and the last printer; back in the table only
      const int row = row_n = odd ? clistRows(table) - 1 : 0;
      const PrinterRow cells = tableRow(table, row);
      gtk_button_clicked(GTK_BUTTON(deleteButtonOf(pageBox)));
      const gchar* texts[kPrinterColumns];
      for (int c = 0; c < kPrinterColumns; ++c) texts[c] = cells[c].c_str();
      gtk_clist_insert(GTK_CLIST(table), row, const_cast<gchar**>(texts));
    } else if (action == "thinprint") {
      gtk_toggle_button_set_active(GTK_TOGGLE_BUTTON(tpEnableOf(tp)), TRUE);
      gtk_toggle_button_set_active(GTK_TOGGLE_BUTTON(tpBandwidthDefaultOf(tp)), FALSE);
      gtk_entry_set_text(GTK_ENTRY(tpBandwidthEntryOf(tp)), odd ? "128000" : "256000");
      gtk_clist_set_text(GTK_CLIST(tpListOf(tp)), 0, 1, odd ? "/dev/usb/lp0" : "/dev/lp0");
      gtk_button_clicked(GTK_BUTTON(tpSaveOf(tpButtonColumnOf(tp))));
    } else {  // "_Ok" or "_Test" on the Samba printer's Modify form ("_Test" keeps it open)
      scanWindows(window);
      if (editor == nullptr) {
        row_n = 5;
        gtk_button_clicked(GTK_BUTTON(modifyButtonOf(pageBox)));
        scanWindows(window);
      }
      GtkWidget* box = findWidget(editor, nullptr, 1);
      for (InfoRow row : {kRowServer, kRowShared, kRowSmbUser, kRowDescription, kRowSmbPassword})
        gtk_entry_set_text(GTK_ENTRY(infoFieldOf(printerInfoBoxOf(box), row)), odd ? "a1" : "b2");
      gtk_button_clicked(
          GTK_BUTTON(findWidget(editorButtonRowOf(box), nullptr, action == "save" ? 1 : 2)));
    }
  }
}
