// solvo-printer-mgr: printer administration for the thin-client desktop.
#include "app/startup.h"
#include "jobs/jobs_page.h"
#include "printers/printers_page.h"
#include "thinprint/thinprint_page.h"

int main(int argc, char** argv) {
  PageBuilders pages;
  pages.printers = drawprinterlist;
  pages.jobs = drawprintjobs;
  pages.thinprint = thinprintpkg;
  pages.switchPage = tabpage_switched;
  return runApplication(argc, argv, pages);
}
