// An lpq of 3 s through the real runner: the window repaints; no click or tick starts another.
#include "jobs_window.h"

static GtkWidget* busy;
static int exposes = 0, pokes = 0;

// Real pointer input on the button's own input window (gtk_test_widget_click leaks the window
// list it searches); the pointer away first, so that the button sees it enter.
static void clickOnScreen(GtkWidget* button) {
  gdk_display_warp_pointer(gdk_display_get_default(), gdk_screen_get_default(), 0, 0);
  for (GdkEventType type : {GDK_BUTTON_PRESS, GDK_BUTTON_RELEASE})
    gdk_test_simulate_button(GTK_BUTTON(button)->event_window, 5, 5, 1, GdkModifierType(0), type);
}

static gboolean poke(gpointer) {  // inside the wait
  pokes += commandRunning();
  clickOnScreen(jobsButton(busy, 1));
  showPRjobs(jobsChooserOf(pageOf(busy, 1)));
  gtk_widget_queue_draw(busy);
  return FALSE;
}

static gboolean countExpose(GtkWidget*, GdkEventExpose*, gpointer) {
  exposes += commandRunning();
  return FALSE;
}

TEST(BusyWindow, SlowListingPaintsAndStartsNothingElse) {
  writeTool("/tmp/slow/lpq", "#!/bin/sh\nsleep 3\n");
  writeFile("/etc/printcap", "office:lp=/dev/lp0:\n");
  const std::string path = std::getenv("PATH");
  setenv("PATH", ("/tmp/slow:" + path).c_str(), 1);
  Lines lines;
  bool swallow = true;  // the switch's listing
  setCommandObserver([&](const std::string& line) {
    if (!swallow && lines.empty()) g_timeout_add(300, poke, nullptr);
    lines.push_back(line);
    return swallow;
  });
  busy = buildJobsWindow();
  g_signal_connect(busy, "expose-event", G_CALLBACK(countExpose), nullptr);
  gtk_widget_show_now(busy);
  gtk_notebook_set_current_page(GTK_NOTEBOOK(mainNotebookOf(busy)), 1);
  while (g_source_remove_by_user_data(jobsChooserOf(pageOf(busy, 1)))) continue;
  swallow = false;
  lines.clear();
  clickOnScreen(jobsButton(busy, 1));
  for (int turn = 0; turn < 1000 && lines.empty(); ++turn) {
    pumpEvents();
    g_usleep(10000);
  }
  pumpEvents();
  EXPECT_EQ(pokes, 1);
  EXPECT_GT(exposes, 0);
  EXPECT_EQ(lines, (Lines{"lpq -P office > /tmp/lprqueue"}));
  setCommandObserver(nullptr);
  gtk_widget_destroy(busy);
  setenv("PATH", path.c_str(), 1);
}
