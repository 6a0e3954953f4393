#include "app/busy.h"

#include <glib-unix.h>
#include <gtk/gtk.h>
#include <poll.h>

#include <cerrno>
#include <vector>

#include "app/shell.h"

namespace {

// Most commands end within this; they are waited for plainly, with no cursor flicker and no
// turn of the main loop. Longer ones get the busy window.
constexpr int kQuietWaitMs = 100;

bool endsWithin(int endedFd, int ms) {
  struct pollfd exitPoll = {endedFd, POLLIN, 0};
  int ready = 0;
  while ((ready = poll(&exitPoll, 1, ms)) < 0 && errno == EINTR) {
  }
  return ready != 0;  // an error too: the runner's own wait takes over
}

// Holds the toolkit's grab while busy, so every click, key and scroll goes to it and no
// further; never on screen.
GtkWidget* inputSink() {
  static GtkWidget* sink = nullptr;
  if (sink == nullptr) {
    sink = gtk_invisible_new();
    gtk_widget_show(sink);  // realized, so the events it swallows are deliverable
  }
  return sink;
}

GdkCursor* busyCursor() {
  static GdkCursor* cursor = gdk_cursor_new(GDK_WATCH);
  return cursor;
}

// Busy cursor on every toplevel window and the grab, for the outermost wait's lifetime.
class BusyWindows {
 public:
  BusyWindows() {
    if (depth()++ > 0) return;
    GList* toplevels = gtk_window_list_toplevels();
    for (GList* item = toplevels; item != nullptr; item = item->next) {
      GdkWindow* window = gtk_widget_get_window(GTK_WIDGET(item->data));
      if (window == nullptr) continue;
      GdkCursor* own = gdk_window_get_cursor(window);
      saved_.push_back({GDK_WINDOW(g_object_ref(window)), own ? gdk_cursor_ref(own) : nullptr});
      gdk_window_set_cursor(window, busyCursor());
    }
    g_list_free(toplevels);
    gtk_grab_add(inputSink());
  }
  ~BusyWindows() {
    if (--depth() > 0) return;
    gtk_grab_remove(inputSink());
    for (const Saved& s : saved_) {
      if (!gdk_window_is_destroyed(s.window)) gdk_window_set_cursor(s.window, s.cursor);
      if (s.cursor != nullptr) gdk_cursor_unref(s.cursor);
      g_object_unref(s.window);
    }
    gdk_display_flush(gdk_display_get_default());
  }
  BusyWindows(const BusyWindows&) = delete;
  BusyWindows& operator=(const BusyWindows&) = delete;

 private:
  struct Saved {
    GdkWindow* window;
    GdkCursor* cursor;
  };
  static int& depth() {
    static int value = 0;
    return value;
  }
  std::vector<Saved> saved_;
};

gboolean markEnded(gint /*fd*/, GIOCondition /*condition*/, gpointer ended) {
  *static_cast<bool*>(ended) = true;
  return G_SOURCE_REMOVE;
}

// Turns the main loop until the command's exit descriptor is readable; being of high
// priority, the end is noticed in the very turn it happens.
void waitRepainting(int endedFd) {
  if (endsWithin(endedFd, kQuietWaitMs)) return;
  BusyWindows busy;
  bool ended = false;
  g_unix_fd_add_full(G_PRIORITY_HIGH, endedFd,
                     static_cast<GIOCondition>(G_IO_IN | G_IO_HUP | G_IO_ERR), markEnded, &ended,
                     nullptr);
  while (!ended) g_main_context_iteration(nullptr, TRUE);
}

gboolean markDone(gpointer done) {
  *static_cast<bool*>(done) = true;
  return G_SOURCE_REMOVE;
}

}  // namespace

void installBusyWait() {
  setCommandWaitPump(waitRepainting);
}

void busyWait(guint milliseconds) {
  BusyWindows busy;
  bool done = false;
  g_timeout_add_full(G_PRIORITY_HIGH, milliseconds, markDone, &done, nullptr);
  while (!done) g_main_context_iteration(nullptr, TRUE);
}

void busyWaitUntil(const bool& done) {
  BusyWindows busy;
  while (!done) g_main_context_iteration(nullptr, TRUE);
}
