// Helpers for the in-process GUI tests (run under the sandbox's Xvfb).
#pragma once

#include <gtk/gtk.h>

#include <string>
#include <vector>

void pumpEvents();  // until no toolkit event is pending

// A widget never packed keeps a floating reference that gtk_widget_destroy leaves alone.
inline void destroyUnpacked(GtkWidget* widget) {
  g_object_ref_sink(widget);
  gtk_widget_destroy(widget);
  g_object_unref(widget);
}

// Answers the next dialog shown with `response`, keeping its title and message (first label).
// Going out of scope before then takes the pending answer along.
struct DialogAnswer {
  ~DialogAnswer();
  std::string title, message;
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
