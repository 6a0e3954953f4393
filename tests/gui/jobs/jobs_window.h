// The main window with a Printers page (from `printers`) and the real Jobs page, its notebook
// switching wired as the program wires it.
#pragma once

#include <gtk/gtk.h>

#include "app/startup.h"
#include "jobs/jobs_page.h"

inline GtkWidget* buildJobsWindow(void (*printers)(GtkWidget* pageBox)) {
  PageBuilders pages;
  pages.printers = printers;
  pages.jobs = drawprintjobs;
  pages.switchPage = tabpage_switched;
  return buildMainWindow(pages);
}
