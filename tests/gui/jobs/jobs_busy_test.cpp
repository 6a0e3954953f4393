// A network printer whose host accepts connections and never answers (its lpd stopped): real
// clicks on a tab and on Exit take effect at once while lpq waits; when the limit has passed the
// state line names the host, and the test print's check fails saying so.
#include <cstdlib>
#include <functional>

#include "jobs_window.h"
#include "printers/test_print.h"
#include "store/spooler.h"

namespace {

// The second LPRng host, 10.23.0.2, queue raw; once it listens, its processes are stopped.
const std::string kHangingHost =
    "mkdir -p /tmp/far && echo raw:lp=/dev/null:sd=/var/spool/lpd/raw > /tmp/far/printcap "
    "&& " SPM_TEST_DATA "/../sandbox/lpd_host.sh far /tmp/far && kill -STOP $(ip netns pids far)";

// Valgrind runs the toolkit many times slower; the limits stretch with it.
int slowdown() {
  const char* preload = std::getenv("LD_PRELOAD");
  return preload != nullptr && std::string(preload).find("vgpreload") != std::string::npos ? 10 : 1;
}

// Real pointer input through the X server (XTest), at the middle of the widget.
void realClick(GtkWidget* widget) {
  gint x = 0, y = 0;
  gdk_window_get_origin(gtk_widget_get_window(widget), &x, &y);
  GtkAllocation at;
  gtk_widget_get_allocation(widget, &at);
  if (!gtk_widget_get_has_window(widget)) x += at.x, y += at.y;
  const std::string move = "xdotool mousemove " + std::to_string(x + at.width / 2) + " " +
                           std::to_string(y + at.height / 2) + " click 1";
  ASSERT_EQ(std::system(move.c_str()), 0);
}

// Turns the main loop until done or ms have passed; whether done.
bool within(int ms, const std::function<bool()>& done) {
  const gint64 end = g_get_monotonic_time() + gint64{ms} * slowdown() * 1000;
  while (!done() && g_get_monotonic_time() < end) {
    while (g_main_context_iteration(nullptr, FALSE)) continue;
    g_usleep(2000);
  }
  return done();
}

gboolean clickExit(gpointer exit) {
  realClick(GTK_WIDGET(exit));
  return FALSE;
}

}  // namespace

TEST(HangingHost, TheWindowTakesInputAndNamesTheHost) {
  writeFile("/etc/printcap", "far:rm=10.23.0.2:rp=raw:sd=/var/spool/lpd/far:\n");
  ASSERT_EQ(std::system(kHangingHost.c_str()), 0);
  preparelpd();
  Lines lines;
  setCommandObserver([&](const std::string& line) {
    lines.push_back(line);
    return false;
  });
  GtkWidget* window = buildJobsWindow();
  gtk_widget_show_now(window);
  GtkNotebook* notebook = GTK_NOTEBOOK(mainNotebookOf(window));
  GtkWidget* page = pageOf(window, 1);
  const auto current = [&](int wanted) {
    return [=] { return gtk_notebook_get_current_page(notebook) == wanted; };
  };
  gtk_notebook_set_current_page(notebook, 1);  // lpq -P far waits on the host
  realClick(gtk_notebook_get_tab_label(notebook, pageOf(window, 0)));
  EXPECT_TRUE(within(500, current(0)));
  realClick(gtk_notebook_get_tab_label(notebook, page));
  EXPECT_TRUE(within(500, current(1)));
  const std::string silence = "The host 10.23.0.2 did not answer within 4 s.";
  const auto said = [&] {
    return gtk_label_get_text(GTK_LABEL(jobsStateLabelOf(page))) == silence;
  };
  const gint64 entered = g_get_monotonic_time();
  EXPECT_TRUE(within(kChildLimitMs + 1000, said));
  EXPECT_GE(g_get_monotonic_time() - entered, (kChildLimitMs - 500) * 1000);
  EXPECT_EQ(lines, Lines(2, "lpq -P far > /tmp/lprqueue"));  // leaving ended the first
  // Exit while the next lpq waits: the main loop ends within half a second of the click.
  realClick(jobsButton(window, 1));
  g_timeout_add(100, clickExit, jobsButton(window, 5));
  const gint64 clicked = g_get_monotonic_time() + 100000;
  const guint guard = g_timeout_add(
      3000 * slowdown(),
      [](gpointer) -> gboolean {
        gtk_main_quit();
        return FALSE;
      },
      nullptr);
  gtk_main();
  EXPECT_LT(g_get_monotonic_time() - clicked, 500000 * slowdown());
  g_source_remove(guard);
  // The test print's check of the same queue: a failed test that says who did not answer.
  DialogLog log;
  printTestPage(printerTableOf(pageOf(window, 0)),
                TestPrinter{"far", "", kTypeNetwork, "raw@10.23.0.2", "None", "None", "", false});
  EXPECT_EQ(log.text(), "Error while printing 'Test Page': " + silence + "\n");
  setCommandObserver(nullptr);
  gtk_widget_destroy(window);
  settle();
}
