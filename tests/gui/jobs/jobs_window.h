// Shared by the Jobs tests: the main window on the real Printers and Jobs pages.
#pragma once

#include <gtest/gtest.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cstdlib>

#include "app/files.h"
#include "app/shell.h"
#include "jobs/jobs_page.h"
#include "printers/printers_fixture.h"
#include "store/spooler.h"

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

// Stand-ins for the spooler tools first on the search path, run from /tmp, where a payload
// that ran would leave PWNED.
class WithStandIns : public testing::Test {
 protected:
  void standIns(const std::string& tool, const std::string& lpq) {
    ASSERT_EQ(std::system("mkdir -p /usr/lib/lprng/filters /etc/dorvek/samba && : > /dev/lp0 && "
                          ": > /usr/lib/lprng/filters/lpf"),
              0);
    for (const char* name : {"lprm", "lpr", "lpd", "checkpc"}) writeTool(kBin + name, tool);
    writeTool(kBin + "lpq", lpq);
    setenv("PATH", (kBin + ":" + path_).c_str(), 1);
    ASSERT_EQ(chdir("/tmp"), 0);
  }
  void TearDown() override {
    setenv("PATH", path_.c_str(), 1);
    EXPECT_FALSE(pathExists("/tmp/PWNED")) << "a value ran as a command";
  }
  const std::string kBin = "/usr/local/stand-ins/", path_ = getenv("PATH");
};
