#include "gui_support.h"

#include <filesystem>

#include "app/shell.h"
#include "app/widgets.h"

void pumpEvents() {
  while (gtk_events_pending()) gtk_main_iteration_do(FALSE);
}

void writeFile(const std::string& path, const std::string& content) {
  std::filesystem::create_directories(std::filesystem::path(path).parent_path());
  std::ofstream(path, std::ios::binary) << content;
}

GtkWidget* editorOf(GtkWidget* mainWindow) {
  GList* windows = gtk_window_list_toplevels();
  GtkWidget* found = nullptr;
  for (GList* w = windows; w != nullptr; w = w->next) {
    if (gtk_window_get_transient_for(GTK_WINDOW(w->data)) == GTK_WINDOW(mainWindow))
      found = GTK_WIDGET(w->data);
  }
  g_list_free(windows);
  return found;
}

namespace {

void firstLabel(GtkWidget* widget, gpointer text) {
  auto* out = static_cast<std::string*>(text);
  if (!out->empty() || GTK_IS_BUTTON(widget)) return;
  if (GTK_IS_LABEL(widget)) *out = gtk_label_get_text(GTK_LABEL(widget));
  if (GTK_IS_CONTAINER(widget)) gtk_container_foreach(GTK_CONTAINER(widget), firstLabel, text);
}

}  // namespace

DialogLog::DialogLog(int response)
    : response_(response), source_(g_timeout_add(10, &DialogLog::tick, this)) {}

// The dialog that runs holds the grab; one already answered is still closing.
gboolean DialogLog::tick(gpointer self) {
  auto* log = static_cast<DialogLog*>(self);
  GtkWidget* dialog = gtk_grab_get_current();
  if (!GTK_IS_DIALOG(dialog) || g_object_get_data(G_OBJECT(dialog), "answered") != nullptr) {
    return TRUE;
  }
  std::string message;
  firstLabel(GTK_DIALOG(dialog)->vbox, &message);
  log->text_ += gtk_window_get_title(GTK_WINDOW(dialog)) + (": " + message) + "\n";
  g_object_set_data(G_OBJECT(dialog), "answered", dialog);
  gtk_dialog_response(GTK_DIALOG(dialog), log->response_);
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
