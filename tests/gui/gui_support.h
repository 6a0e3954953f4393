// Helpers for the in-process GUI tests (run under the sandbox's Xvfb).
#pragma once

#include <gtk/gtk.h>

#include <string>
#include <vector>

#include "golden.h"

void pumpEvents();  // until no toolkit event is pending
void writeFile(const std::string& path, const std::string& content);  // folders made as needed
// The window made transient for mainWindow (an editor), or nullptr.
GtkWidget* editorOf(GtkWidget* mainWindow);

inline constexpr auto shown = [](GtkWidget* w) { return gtk_widget_get_visible(w) != FALSE; };
inline constexpr auto sensitive = [](GtkWidget* w) { return gtk_widget_get_sensitive(w) != FALSE; };
inline constexpr auto active = [](GtkWidget* w) {
  return gtk_toggle_button_get_active(GTK_TOGGLE_BUTTON(w)) != FALSE;
};
inline constexpr auto click = [](GtkWidget* w) { gtk_button_clicked(GTK_BUTTON(w)); };

// A widget never packed keeps a floating reference that gtk_widget_destroy leaves alone.
inline void destroyUnpacked(GtkWidget* widget) {
  g_object_ref_sink(widget);
  gtk_widget_destroy(widget);
  g_object_unref(widget);
}

// Answers every dialog with `response` as it runs; text() has "title: first label\n" for each.
class DialogLog {
 public:
  explicit DialogLog(int response = GTK_RESPONSE_ACCEPT);
  ~DialogLog() { g_source_remove(source_); }
  const std::string& text() const { return text_; }

 private:
  static gboolean tick(gpointer self);
  int response_;
  guint source_;
  std::string text_;
};

// Records every command line the program runs; with swallow, none of them really runs.
class CommandRecorder {
 public:
  explicit CommandRecorder(bool swallow = true);
  ~CommandRecorder();
  const Lines& lines() const { return lines_; }

 private:
  Lines lines_;
};
