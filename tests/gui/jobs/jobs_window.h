// Shared by the Jobs tests: the main window on the real Printers and Jobs pages.
#pragma once

#include <sys/stat.h>

#include "app/child.h"
#include "app/files.h"
#include "jobs/jobs_page.h"
#include "printers/printers_fixture.h"

inline GtkWidget* buildJobsWindow() {
  return buildMainWindow(PageBuilders{drawprinterlist, drawprintjobs, nullptr, tabpage_switched});
}
inline GtkWidget* pageOf(GtkWidget* window, int page) {
  return gtk_notebook_get_nth_page(GTK_NOTEBOOK(mainNotebookOf(window)), page);
}
inline GtkWidget* jobsButton(GtkWidget* window, int index) {  // Refresh, Delete, Delete All
  return findWidget(jobsButtonRowOf(pageOf(window, 1)), nullptr, index);
}
inline void writeTool(const std::string& path, const std::string& script) {
  writeFile(path, script);
  chmod(path.c_str(), 0755);
}
// Until every watched command has ended and its outcome is shown.
inline void settle() {
  while (childRunsPending() > 0) g_main_context_iteration(nullptr, TRUE);
  pumpEvents();
}
