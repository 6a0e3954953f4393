// Builds the real main window and repeats one saving action, so that crash_test.sh can kill it
// with SIGKILL at any moment. The spooler is stood in (every command line is swallowed, lpq
// leaves an empty report); the file writes are the program's own.
//
//   crash_driver seed                       writes the starting files
//   crash_driver start                      builds the window and ends, as a restart would
//   crash_driver ACTION COUNT [SNAPSHOTS]   ACTION: save, delete, test or thinprint; COUNT 0 =
//                                           forever. With SNAPSHOTS, copies the watched files
//                                           into SNAPSHOTS/N/ at every command line and at the
//                                           end of each round: every state the files pass through.
#include <gtk/gtk.h>
#include <sys/stat.h>
#include <sys/syscall.h>
#include <unistd.h>

#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <string>
#include <vector>

#include "../sandbox/inside_sandbox.h"
#include "app/files.h"
#include "app/shell.h"
#include "app/startup.h"
#include "app/widgets.h"
#include "printers/editor.h"
#include "printers/printers_page.h"
#include "store/printcap.h"
#include "store/printer_table.h"
#include "store/samba.h"
#include "store/spooler.h"
#include "thinprint/thinprint_conf.h"
#include "thinprint/thinprint_page.h"

// The test print waits a second for the stand-in spooler; nothing here needs the wait.
extern "C" unsigned int sleep(unsigned int) {
  return 0;
}

// The files go to a thin client's flash at about 20 MB/s, not to the sandbox's memory, so a
// kill lands inside a write as often as it would there.
bool snapshotting = false;  // snapshots are the test's own, not the program's writes
extern "C" ssize_t write(int fd, const void* data, size_t size) {
  struct stat st;
  if (!snapshotting && fstat(fd, &st) == 0 && S_ISREG(st.st_mode)) {
    usleep(static_cast<useconds_t>(size / 20));
  }
  return syscall(SYS_write, fd, data, size);
}

namespace {

const int kPrinters = 300;  // big files: writing them takes a while
const int kSambaRow = 5;
const char* const kSambaName = "smb5";
const char* const kReady = "/tmp/crash.ready";
const char* const kWatched[] = {"/etc/printcap", "/etc/printers_info", "/etc/dorvek/samba/smb5.sh",
                                "/etc/dorvek/thinprint.conf", "/etc/init.d/runthinprint"};

std::string snapshotDir;
int snapshots = 0;

void snapshot() {
  if (snapshotDir.empty()) return;
  const std::string dir = snapshotDir + "/" + std::to_string(snapshots++);
  mkdir(dir.c_str(), 0700);
  snapshotting = true;
  for (const char* path : kWatched) {
    const std::string name = std::string(path).substr(std::string(path).rfind('/') + 1);
    if (const auto text = readWholeFile(path)) replaceFile(dir + "/" + name, *text);
  }
  snapshotting = false;
}

void seed() {
  std::vector<PrinterRow> rows;
  for (int i = 0; i < kPrinters; ++i) {
    const std::string name = (i == kSambaRow ? "smb" : "lp") + std::to_string(i);
    rows.push_back({i == 1 ? "Yes" : "", name, "Printer number " + std::to_string(i),
                    i == kSambaRow ? kTypeSamba : kTypeParallel,
                    i == kSambaRow ? "|" + sambaScriptPath(name) : "/dev/lp0",
                    "/usr/lib/lprng/filters/lpf", "", "Driver " + std::to_string(i), "NO"});
  }
  ThinPrintSettings tp;
  for (int i = 0; i < kPrinters; ++i) tp.printers.push_back({"tp" + std::to_string(i), "/dev/lp0"});
  SambaSettings smb{"srv", "laser", "user", "secret", "WG", false};
  const bool ok = replaceFile(kPrintcapPath, formatPrintcap(rows)) &&
                  replaceFile(kPrintersInfoPath, formatPrintersInfo(rows)) &&
                  replaceFile(sambaScriptPath(kSambaName), formatSambaScript(smb), 0750) &&
                  replaceFile(kThinPrintConf, formatThinPrintConf(tp)) &&
                  replaceFile(kThinPrintScript, startScript(tp), 0755) &&
                  replaceFile(kThinPrintClient, "#!/bin/sh\n", 0755);
  std::exit(ok ? 0 : 1);
}

// Answers every message dialog and confirmation with "_Ok" as soon as it shows.
gboolean answerDialogs(gpointer) {
  GList* windows = gtk_window_list_toplevels();
  for (GList* w = windows; w != nullptr; w = w->next) {
    if (GTK_IS_DIALOG(w->data) && gtk_widget_get_visible(GTK_WIDGET(w->data))) {
      gtk_dialog_response(GTK_DIALOG(w->data), GTK_RESPONSE_ACCEPT);
    }
  }
  g_list_free(windows);
  return TRUE;
}

GtkWidget* editorOf(GtkWidget* mainWindow) {
  GList* windows = gtk_window_list_toplevels();
  GtkWidget* found = nullptr;
  for (GList* w = windows; w != nullptr; w = w->next) {
    if (gtk_window_get_transient_for(GTK_WINDOW(w->data)) == GTK_WINDOW(mainWindow)) {
      found = GTK_WIDGET(w->data);
    }
  }
  g_list_free(windows);
  return found;
}

struct Driver {
  GtkWidget* window;
  GtkWidget* pageBox;
  GtkWidget* table;

  GtkWidget* editorBox() { return findWidget(editorOf(window), nullptr, 1); }
  void setField(InfoRow row, const std::string& text) {
    gtk_entry_set_text(GTK_ENTRY(infoFieldOf(printerInfoBoxOf(editorBox()), row)), text.c_str());
  }
  void pressEditor(int button) {
    gtk_button_clicked(GTK_BUTTON(findWidget(editorButtonRowOf(editorBox()), nullptr, button)));
  }

  // "_Ok" on the Samba printer's Modify form, with new settings each round.
  void save(int round) {
    row_n = kSambaRow;
    AddModifyprinter("Modify Printer", table);
    setField(kRowDescription, round % 2 ? "second variant" : "first variant");
    setField(kRowSmbPassword, round % 2 ? "secret2" : "secret1");
    pressEditor(1);
  }
  // Delete, confirmed, of the first and of the last printer in turn; the row comes back in
  // the table only, so the next round starts from the same table.
  void remove(int round) {
    const int row = round % 2 ? clistRows(table) - 1 : 0;
    const PrinterRow cells = tableRow(table, row);
    row_n = row;
    gtk_button_clicked(GTK_BUTTON(deleteButtonOf(pageBox)));
    const gchar* texts[kPrinterColumns];
    for (int c = 0; c < kPrinterColumns; ++c) texts[c] = cells[c].c_str();
    gtk_clist_insert(GTK_CLIST(table), row, const_cast<gchar**>(texts));
  }
  // "_Test" on the Samba printer's Modify form, which stays open.
  void test(int round) {
    if (editorOf(window) == nullptr) {
      row_n = kSambaRow;
      AddModifyprinter("Modify Printer", table);
    }
    setField(kRowSmbPassword, round % 2 ? "secret2" : "secret1");
    pressEditor(2);
  }
  // ThinPrint "Save", enabled, with another bandwidth and first device each round.
  void thinprint(int round) {
    GtkWidget* page = thinprintPageOf(mainNotebookOf(window));
    gtk_toggle_button_set_active(GTK_TOGGLE_BUTTON(tpEnableOf(page)), TRUE);
    gtk_toggle_button_set_active(GTK_TOGGLE_BUTTON(tpBandwidthDefaultOf(page)), FALSE);
    gtk_entry_set_text(GTK_ENTRY(tpBandwidthEntryOf(page)), round % 2 ? "128000" : "256000");
    gtk_clist_set_text(GTK_CLIST(tpListOf(page)), 0, 1, round % 2 ? "/dev/usb/lp0" : "/dev/lp0");
    gtk_button_clicked(GTK_BUTTON(tpSaveOf(tpButtonColumnOf(page))));
  }
};

}  // namespace

int main(int argc, char** argv) {
  requireSandbox(argv[0]);
  gtk_init(&argc, &argv);
  if (argc == 2 && std::string(argv[1]) == "seed") seed();
  setCommandObserver([](const std::string& line) {
    snapshot();
    if (line.rfind("lpq ", 0) == 0) replaceFile(kQueueListingPath, "", 0600);
    return true;
  });
  if (argc == 2 && std::string(argv[1]) == "start") {
    buildMainWindow(PageBuilders{drawprinterlist, nullptr, thinprintpkg});
    return 0;
  }
  if (argc < 3) {
    std::fprintf(stderr, "usage: crash_driver seed | start | ACTION COUNT [SNAPSHOTS]\n");
    return 2;
  }
  const std::string action = argv[1];
  const long count = std::atol(argv[2]);
  if (argc > 3) snapshotDir = argv[3];
  g_timeout_add(1, answerDialogs, nullptr);

  Driver d;
  d.window = buildMainWindow(PageBuilders{drawprinterlist, nullptr, thinprintpkg});
  d.pageBox = gtk_notebook_get_nth_page(GTK_NOTEBOOK(mainNotebookOf(d.window)), 0);
  d.table = printerTableOf(d.pageBox);
  replaceFile(kReady, "");
  const auto start = std::chrono::steady_clock::now();
  for (long round = 0; count == 0 || round < count; ++round) {
    if (action == "save") {
      d.save(static_cast<int>(round));
    } else if (action == "delete") {
      d.remove(static_cast<int>(round));
    } else if (action == "test") {
      d.test(static_cast<int>(round));
    } else if (action == "thinprint") {
      d.thinprint(static_cast<int>(round));
    } else {
      return 2;
    }
    snapshot();
  }
  // How long one round takes, so the harness can spread its kills over it.
  const auto elapsed = std::chrono::steady_clock::now() - start;
  std::printf("%ld\n", static_cast<long>(
                           std::chrono::duration_cast<std::chrono::milliseconds>(elapsed).count() /
                           (count > 0 ? count : 1)));
  return 0;
}
