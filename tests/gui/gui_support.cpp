#include "gui_support.h"

#include <gtest/gtest.h>

#include "app/shell.h"

void pumpEvents() {
  while (gtk_events_pending()) gtk_main_iteration_do(FALSE);
}

namespace {

struct PendingAnswer {
  int response;
  DialogAnswer* seen;
};

void collectLabelText(GtkWidget* widget, gpointer data) {
  auto* text = static_cast<std::string*>(data);
  if (GTK_IS_LABEL(widget)) {
    if (text->empty()) *text = gtk_label_get_text(GTK_LABEL(widget));
  } else if (GTK_IS_CONTAINER(widget) && !GTK_IS_BUTTON(widget)) {
    gtk_container_foreach(GTK_CONTAINER(widget), collectLabelText, data);
  }
}

GtkWidget* runningDialog() {
  GList* windows = gtk_window_list_toplevels();
  GtkWidget* found = nullptr;
  for (GList* w = windows; w != nullptr; w = w->next) {
    GtkWidget* window = GTK_WIDGET(w->data);
    if (GTK_IS_DIALOG(window) && gtk_widget_get_visible(window)) found = window;
  }
  g_list_free(windows);
  return found;
}

gboolean answerWhenShown(gpointer data) {
  auto* pending = static_cast<PendingAnswer*>(data);
  GtkWidget* dialog = runningDialog();
  if (dialog == nullptr) return TRUE;  // not shown yet: look again at the next tick
  if (pending->seen != nullptr) {
    pending->seen->seen = true;
    pending->seen->title = gtk_window_get_title(GTK_WINDOW(dialog));
    collectLabelText(GTK_DIALOG(dialog)->vbox, &pending->seen->message);
  }
  if (pending->seen != nullptr) pending->seen->source = 0;
  gtk_dialog_response(GTK_DIALOG(dialog), pending->response);
  return FALSE;
}

void deletePending(gpointer data) {
  delete static_cast<PendingAnswer*>(data);
}

}  // namespace

DialogAnswer::~DialogAnswer() {
  if (source != 0) g_source_remove(source);
}

void answerNextDialog(int response, DialogAnswer* seen) {
  const guint source = g_timeout_add_full(G_PRIORITY_DEFAULT, 20, answerWhenShown,
                                          new PendingAnswer{response, seen}, deletePending);
  if (seen != nullptr) seen->source = source;
}

CommandRecorder::CommandRecorder(bool swallow) {
  setCommandObserver([this, swallow](const std::string& line) {
    lines_.push_back(line);
    return swallow;
  });
}

CommandRecorder::~CommandRecorder() {
  setCommandObserver(nullptr);
}
