// A listing whose lpq takes 3 s, through the real runner: the window keeps painting under a busy
// cursor, real clicks are refused meanwhile, and no second command line starts until it ends.
#include <gtest/gtest.h>
#include <sys/stat.h>

#include <cstdlib>
#include <fstream>
#include <sstream>
#include <string>
#include <vector>

#include "app/files.h"
#include "app/shell.h"
#include "app/startup.h"
#include "app/widgets.h"
#include "gui_support.h"
#include "jobs/jobs_page.h"
#include "jobs_window.h"
#include "printers/printers_page.h"
#include "store/printcap.h"
#include "store/spooler.h"

namespace {

using Lines = std::vector<std::string>;

const char* const kLog = "/tmp/lpq.log";
const char* const kNested = "echo nested >> /tmp/lpq.log";

std::string readLog() {
  std::ostringstream text;
  text << std::ifstream(kLog).rdbuf();
  return text.str();
}

// Real pointer input from the X server: move away (so the button sees the pointer enter), then
// press and release over the button.
void clickOnScreen(GtkWidget* button) {
  GdkDisplay* display = gdk_display_get_default();
  gdk_display_warp_pointer(display, gdk_display_get_default_screen(display), 0, 0);
  // The button's own input window, straight: gtk_test_widget_click would find it too, but
  // leaks the window list it searches.
  GdkWindow* input = GTK_BUTTON(button)->event_window;
  ASSERT_NE(input, nullptr);
  const int x = button->allocation.width / 2, y = button->allocation.height / 2;
  for (GdkEventType type : {GDK_BUTTON_PRESS, GDK_BUTTON_RELEASE})
    ASSERT_TRUE(gdk_test_simulate_button(input, x, y, 1, GdkModifierType(0), type));
}

// Runs the main loop until done() holds, for at most about ten seconds.
template <typename Done>
void turnUntil(Done done) {
  for (int turns = 0; turns < 1000 && !done(); ++turns) {
    pumpEvents();
    g_usleep(10000);
  }
  pumpEvents();
}

struct DuringWait {
  GtkWidget *window = nullptr, *chooser = nullptr, *refresh = nullptr;
  bool running = false, tickKeptTimer = false;
  GdkCursorType cursor = GDK_X_CURSOR;
  int exposes = 0;
};

gboolean lookAndPoke(gpointer data) {
  auto* seen = static_cast<DuringWait*>(data);
  seen->running = commandRunning();
  if (GdkCursor* cursor = gdk_window_get_cursor(gtk_widget_get_window(seen->window)))
    seen->cursor = gdk_cursor_get_cursor_type(cursor);
  clickOnScreen(seen->refresh);
  seen->tickKeptTimer = showPRjobs(seen->chooser);
  gtk_widget_queue_draw(seen->window);
  return FALSE;
}

gboolean runNested(gpointer /*data*/) {
  runCommand(kNested);
  return FALSE;
}

gboolean countExpose(GtkWidget*, GdkEventExpose*, gpointer data) {
  if (commandRunning()) ++static_cast<DuringWait*>(data)->exposes;
  return FALSE;
}

}  // namespace

TEST(BusyWindow, SlowListingPaintsRefusesClicksAndNeverOverlaps) {
  ASSERT_STREQ(std::getenv("SPM_IN_SANDBOX"), "1");
  mkdir("/tmp/slowbin", 0755);
  std::ofstream("/tmp/slowbin/lpq")
      << "#!/bin/sh\necho start >> " << kLog << "\nsleep 3\necho end >> " << kLog << "\n";
  chmod("/tmp/slowbin/lpq", 0755);
  ASSERT_TRUE(replaceFile(kPrintcapPath, "office:lp=/dev/lp0:\n"));
  const std::string path = std::getenv("PATH");
  setenv("PATH", ("/tmp/slowbin:" + path).c_str(), 1);

  // The probes are timed from the start of the slow lpq, so they fall well inside its wait.
  Lines lines;
  bool swallow = true;
  DuringWait seen;
  setCommandObserver([&](const std::string& line) {
    if (!swallow && lines.empty()) {
      g_timeout_add(300, lookAndPoke, &seen);
      g_timeout_add(1500, runNested, nullptr);
    }
    lines.push_back(line);
    return swallow;
  });
  GtkWidget* window = buildJobsWindow(drawprinterlist);
  GtkWidget* notebook = mainNotebookOf(window);
  GtkWidget* jobsPage = jobsPageOfNotebook(notebook);
  GtkWidget* chooser = jobsChooserOf(jobsPage);
  GtkWidget* refresh = findWidget(jobsButtonRowOf(jobsPage), nullptr, 1);
  gtk_widget_show_now(window);
  gtk_notebook_set_current_page(GTK_NOTEBOOK(notebook), 1);
  while (g_source_remove_by_user_data(chooser)) {
  }
  pumpEvents();

  // The slow listing starts from a real click; meanwhile another click, a tick, a redraw and a
  // second command line are tried.
  seen = DuringWait{window, chooser, refresh};
  g_signal_connect(window, "expose-event", G_CALLBACK(countExpose), &seen);
  swallow = false;
  lines.clear();
  clickOnScreen(refresh);
  turnUntil([&] { return lines.size() == 3; });

  EXPECT_TRUE(seen.running);
  EXPECT_EQ(seen.cursor, GDK_WATCH);
  EXPECT_TRUE(seen.tickKeptTimer);
  EXPECT_GT(seen.exposes, 0);
  EXPECT_EQ(lines, (Lines{lpqCommand("office"), kNested, "rm /tmp/lprqueue"}));
  EXPECT_EQ(readLog(), "start\nend\nnested\n");
  EXPECT_EQ(gdk_window_get_cursor(gtk_widget_get_window(window)), nullptr);

  // Idle again, the same click lists.
  swallow = true;
  lines.clear();
  clickOnScreen(refresh);
  turnUntil([&] { return !lines.empty(); });
  EXPECT_EQ(lines, (Lines{lpqCommand("office"), "rm /tmp/lprqueue"}));

  setCommandObserver(nullptr);
  gtk_widget_destroy(window);
  pumpEvents();
  setenv("PATH", path.c_str(), 1);
}
