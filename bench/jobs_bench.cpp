// Jobs page refresh: the program's own CPU time per refresh (listing, reading, filling the job
// table and repainting it) against the CPU time of the command lines it runs, with an lpq that
// prints a canned report of 1,000 jobs. Then counts listings while another page is current.
//   jobs_bench [RUNS]     (inside tests/sandbox/sandbox --xvfb)
// Prints "jobs_refresh_us self=<median> children=<median> runs=<n> rows=<n>",
//        "jobs_hidden_listings count=<n> seconds=<s>"
// and    "jobs_first_switch_us first=<median> later=<median> printers=<n> runs=<n>": the wall
// time of the first switch to the Jobs page, when the chooser's rows are made, against a later
// switch of the same window (the listing stood in for, so only the page's own work counts).
#include <gtk/gtk.h>
#include <sys/resource.h>
#include <time.h>

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <string>
#include <vector>

#include "app/child.h"
#include "app/files.h"
#include "app/shell.h"
#include "app/startup.h"
#include "app/widgets.h"
#include "bench_data.h"
#include "jobs/jobs_page.h"
#include "printers/printers_page.h"
#include "store/printcap.h"

namespace {

const int kJobs = 1000;
int listings = 0;

long long selfCpuMicros() {
  timespec ts{};
  clock_gettime(CLOCK_PROCESS_CPUTIME_ID, &ts);
  return static_cast<long long>(ts.tv_sec) * 1000000LL + ts.tv_nsec / 1000;
}

long long childrenCpuMicros() {
  rusage usage{};
  getrusage(RUSAGE_CHILDREN, &usage);
  const auto micros = [](const timeval& tv) {
    return static_cast<long long>(tv.tv_sec) * 1000000LL + tv.tv_usec;
  };
  return micros(usage.ru_utime) + micros(usage.ru_stime);
}

void drainEvents() {
  gdk_flush();
  while (gtk_events_pending()) gtk_main_iteration();
}

// Until the listing's lpq has ended and the table is filled (lpq runs as a watched child).
void awaitListing() {
  while (childRunsPending() > 0) g_main_context_iteration(nullptr, TRUE);
  drainEvents();
}

long long median(std::vector<long long> values) {
  std::sort(values.begin(), values.end());
  const std::size_t n = values.size();
  return n % 2 ? values[n / 2] : (values[n / 2 - 1] + values[n / 2]) / 2;
}

gboolean quitLoop(gpointer /*data*/) {
  gtk_main_quit();
  return FALSE;
}

// The stand-in lpq, first on PATH: prints the canned report, as fast as a tool can.
bool installLpqStandIn() {
  if (!replaceFile("/tmp/bench-report.txt", bench::queueReport(kJobs))) return false;
  if (!replaceFile("/tmp/bench-bin/lpq", "#!/bin/sh\nexec cat /tmp/bench-report.txt\n", 0755)) {
    return false;
  }
  const std::string path = std::string("/tmp/bench-bin:") + std::getenv("PATH");
  setenv("PATH", path.c_str(), 1);
  return true;
}

long long wallMicros() {
  timespec ts{};
  clock_gettime(CLOCK_MONOTONIC, &ts);
  return static_cast<long long>(ts.tv_sec) * 1000000LL + ts.tv_nsec / 1000;
}

// The Printers and Jobs pages as the program builds them, shown and drawn.
GtkWidget* showMainWindow() {
  PageBuilders pages;
  pages.printers = drawprinterlist;
  pages.jobs = drawprintjobs;
  pages.switchPage = tabpage_switched;
  GtkWidget* window = buildMainWindow(pages);
  gtk_widget_show(window);
  drainEvents();
  return window;
}

// Shows the Jobs page and waits until it is drawn; the wall time it took.
long long timedSwitchToJobs(GtkWidget* notebook) {
  const long long before = wallMicros();
  gtk_notebook_set_current_page(GTK_NOTEBOOK(notebook), 1);
  awaitListing();
  return wallMicros() - before;
}

void measureFirstSwitch(int printers, int runs) {
  replaceFile(kPrintcapPath, formatPrintcap(bench::printers(printers)));
  setCommandObserver([](const std::string& line) { return line.rfind("lpq ", 0) == 0; });
  std::vector<long long> first, later;
  for (int i = 0; i < runs; ++i) {
    GtkWidget* window = showMainWindow();
    GtkWidget* notebook = mainNotebookOf(window);
    first.push_back(timedSwitchToJobs(notebook));
    gtk_notebook_set_current_page(GTK_NOTEBOOK(notebook), 0);
    drainEvents();
    later.push_back(timedSwitchToJobs(notebook));
    gtk_widget_destroy(window);
    drainEvents();
  }
  setCommandObserver(nullptr);
  std::printf("jobs_first_switch_us first=%lld later=%lld printers=%d runs=%d\n", median(first),
              median(later), printers, runs);
}

}  // namespace

int main(int argc, char** argv) {
  if (std::getenv("SPM_IN_SANDBOX") == nullptr) {
    std::fprintf(stderr, "jobs_bench: run it inside tests/sandbox/sandbox --xvfb\n");
    return 2;
  }
  gtk_init(&argc, &argv);
  const int runs = argc > 1 ? std::max(1, std::atoi(argv[1])) : 11;
  if (g_mkdir_with_parents("/tmp/bench-bin", 0755) != 0 || !installLpqStandIn() ||
      !replaceFile(kPrintcapPath, formatPrintcap(bench::printers(3)))) {
    std::fprintf(stderr, "jobs_bench: cannot prepare the sandbox\n");
    return 1;
  }
  setCommandObserver([](const std::string& line) {
    if (line.rfind("lpq ", 0) == 0) ++listings;
    return false;  // still run it
  });

  GtkWidget* window = showMainWindow();
  GtkWidget* notebook = mainNotebookOf(window);
  GtkWidget* chooser = jobsChooserOf(jobsPageOfNotebook(notebook));

  // Showing the Jobs page lists once and starts the 5-second tick; the tick is taken away so
  // that only the refreshes below are measured.
  gtk_notebook_set_current_page(GTK_NOTEBOOK(notebook), 1);
  awaitListing();
  while (g_source_remove_by_user_data(chooser)) {
  }
  std::vector<long long> self, children;
  for (int i = 0; i < runs; ++i) {
    const long long selfBefore = selfCpuMicros(), childrenBefore = childrenCpuMicros();
    list_jobs(chooser);
    awaitListing();  // the repaint of the refilled table is part of the refresh
    self.push_back(selfCpuMicros() - selfBefore);
    children.push_back(childrenCpuMicros() - childrenBefore);
  }
  const int rows = clistRows(jobTableOf(jobsPageOfNotebook(notebook)));
  std::printf("jobs_refresh_us self=%lld children=%lld runs=%d rows=%d\n", median(self),
              median(children), runs, rows);

  // Back on the Jobs page (listing, tick started), then away to Printers for longer than a tick.
  gtk_notebook_set_current_page(GTK_NOTEBOOK(notebook), 0);
  gtk_notebook_set_current_page(GTK_NOTEBOOK(notebook), 1);
  gtk_notebook_set_current_page(GTK_NOTEBOOK(notebook), 0);
  listings = 0;
  const guint waitMs = kJobRefreshMs + kJobRefreshMs / 5;
  g_timeout_add(waitMs, quitLoop, nullptr);
  gtk_main();
  std::printf("jobs_hidden_listings count=%d seconds=%.1f\n", listings, waitMs / 1000.0);
  gtk_widget_destroy(window);
  drainEvents();
  measureFirstSwitch(1000, runs);
  return 0;
}
