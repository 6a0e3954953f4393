// The program's whole start-up, ending once the main window is mapped: what callgrind counts.
// The program itself reads no options, so this twin of src/main.cpp is the one that quits.
#include "app/startup.h"
#include "jobs/jobs_page.h"
#include "printers/printers_page.h"
#include "thinprint/thinprint_page.h"

namespace {

gboolean quitOnMap(GtkWidget* /*widget*/, GdkEvent* /*event*/, gpointer /*data*/) {
  gtk_main_quit();
  return FALSE;
}

// Built last, so the notebook already sits in the main window here.
void thinprintThenQuitOnMap(GtkWidget* notebook, GtkWidget* printersPageBox) {
  thinprintpkg(notebook, printersPageBox);
  g_signal_connect(gtk_widget_get_toplevel(notebook), "map-event", G_CALLBACK(quitOnMap), nullptr);
}

}  // namespace

int main(int argc, char** argv) {
  PageBuilders pages;
  pages.printers = drawprinterlist;
  pages.jobs = drawprintjobs;
  pages.thinprint = thinprintThenQuitOnMap;
  pages.switchPage = tabpage_switched;
  return runApplication(argc, argv, pages);
}
