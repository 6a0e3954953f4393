#include "gui_support.h"

#include "app/shell.h"
#include "faults.h"

void pumpEvents() {
  while (gtk_events_pending()) gtk_main_iteration_do(FALSE);
}

namespace {

void firstLabel(GtkWidget* widget, gpointer text) {
  auto* out = static_cast<std::string*>(text);
  if (!out->empty() || GTK_IS_BUTTON(widget)) return;
  if (GTK_IS_LABEL(widget)) *out = gtk_label_get_text(GTK_LABEL(widget));
  if (GTK_IS_CONTAINER(widget)) gtk_container_foreach(GTK_CONTAINER(widget), firstLabel, text);
}

// Answers the dialog that runs (it holds the grab) unless answered already; false for none.
bool answerShown(int response, std::string* title, std::string* message) {
  GtkWidget* dialog = gtk_grab_get_current();
  if (!GTK_IS_DIALOG(dialog) || g_object_get_data(G_OBJECT(dialog), "answered") != nullptr) {
    return false;
  }
  *title = gtk_window_get_title(GTK_WINDOW(dialog));
  firstLabel(GTK_DIALOG(dialog)->vbox, message);
  g_object_set_data(G_OBJECT(dialog), "answered", dialog);
  gtk_dialog_response(GTK_DIALOG(dialog), response);
  return true;
}

struct Pending {
  int response;
  DialogAnswer* seen;
  DialogAnswer scratch;
};

}  // namespace

DialogAnswer::~DialogAnswer() {
  if (source != 0) g_source_remove(source);
}

void answerNextDialog(int response, DialogAnswer* seen) {
  auto* pending = new Pending{response, seen, {}};
  const auto tick = [](gpointer data) -> gboolean {
    auto* p = static_cast<Pending*>(data);
    DialogAnswer* to = p->seen != nullptr ? p->seen : &p->scratch;
    if (!answerShown(p->response, &to->title, &to->message)) return TRUE;  // not shown yet
    to->seen = true;
    to->source = 0;
    return FALSE;
  };
  const guint source = g_timeout_add_full(G_PRIORITY_DEFAULT, 20, tick, pending,
                                          [](gpointer p) { delete static_cast<Pending*>(p); });
  if (seen != nullptr) seen->source = source;
}

gboolean DialogLog::tick(gpointer self) {
  std::string title, message;
  if (answerShown(GTK_RESPONSE_ACCEPT, &title, &message)) {
    static_cast<DialogLog*>(self)->text_ += title + ": " + message + "\n";
  }
  return TRUE;
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
