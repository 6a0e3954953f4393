// Helpers for the in-process GUI tests (run under the sandbox's Xvfb).
#pragma once

#include <gtk/gtk.h>

#include <string>
#include <vector>

// Runs pending toolkit events until none is left.
void pumpEvents();

// Destroys a widget that was never packed into a window: it still holds its floating
// reference, which gtk_widget_destroy leaves alone, so it would never be freed.
inline void destroyUnpacked(GtkWidget* widget) {
  g_object_ref_sink(widget);
  gtk_widget_destroy(widget);
  g_object_unref(widget);
}

// Answers the next modal dialog that runs with `response`, and remembers its title and the
// text of its label (the message), so the test can look at them afterwards.
// A DialogAnswer that goes out of scope before any dialog ran takes its pending answer along.
struct DialogAnswer {
  DialogAnswer() = default;
  DialogAnswer(const DialogAnswer&) = delete;
  DialogAnswer& operator=(const DialogAnswer&) = delete;
  ~DialogAnswer();
  std::string title;
  std::string message;
  bool seen = false;
  guint source = 0;  // the pending answer's timeout, while it waits
};
void answerNextDialog(int response, DialogAnswer* seen = nullptr);

// Records every command line the program runs; with swallow, none of them really runs.
class CommandRecorder {
 public:
  explicit CommandRecorder(bool swallow = true);
  ~CommandRecorder();
  const std::vector<std::string>& lines() const { return lines_; }

 private:
  std::vector<std::string> lines_;
};
