// Start-up baseline: nothing but the main window's widget layout, so the cost of GTK itself
// can be told apart from the cost of our own start-up work.
#include <gtk/gtk.h>

#include <cstring>

namespace {

const char* const kTitle = "Kelvane Printer Management";
const int kColumns = 9;

gboolean quitOnMap(GtkWidget* /*widget*/, GdkEvent* /*event*/, gpointer /*data*/) {
  gtk_main_quit();
  return FALSE;
}

GtkWidget* addPage(GtkWidget* notebook, const char* tabLabel) {
  GtkWidget* page = gtk_vbox_new(FALSE, 0);
  gtk_notebook_append_page(GTK_NOTEBOOK(notebook), page, gtk_label_new(tabLabel));
  return page;
}

void fillPrintersPage(GtkWidget* page) {
  gtk_box_pack_start(GTK_BOX(page), gtk_check_button_new_with_label("Load LPD Server at boot time"), FALSE,
                     FALSE, 0);

  const gchar* titles[kColumns] = {"Name",   "Type",    "Device",  "Driver", "Queue",
                                   "Status", "Default", "Comment", "Shared"};
  GtkWidget* list = gtk_clist_new_with_titles(kColumns, const_cast<gchar**>(titles));
  gtk_clist_column_titles_show(GTK_CLIST(list));
  GtkWidget* scrolled = gtk_scrolled_window_new(nullptr, nullptr);
  gtk_scrolled_window_set_policy(GTK_SCROLLED_WINDOW(scrolled), GTK_POLICY_AUTOMATIC,
                                 GTK_POLICY_AUTOMATIC);
  gtk_container_add(GTK_CONTAINER(scrolled), list);
  gtk_box_pack_start(GTK_BOX(page), scrolled, TRUE, TRUE, 0);

  GtkWidget* buttons = gtk_hbox_new(TRUE, 0);
  gtk_box_pack_start(GTK_BOX(buttons), gtk_button_new_with_label("Add"), TRUE, TRUE, 0);
  gtk_box_pack_start(GTK_BOX(buttons), gtk_button_new_with_label("Modify"), TRUE, TRUE, 0);
  gtk_box_pack_start(GTK_BOX(buttons), gtk_button_new_with_label("Delete"), TRUE, TRUE, 0);
  gtk_box_pack_start(GTK_BOX(buttons), gtk_fixed_new(), TRUE, TRUE, 0);
  GtkWidget* exitButton = gtk_button_new_with_label("Exit");
  g_signal_connect(exitButton, "clicked", G_CALLBACK(gtk_main_quit), nullptr);
  gtk_box_pack_start(GTK_BOX(buttons), exitButton, TRUE, TRUE, 0);
  gtk_box_pack_start(GTK_BOX(page), buttons, FALSE, FALSE, 0);
}

}  // namespace

int main(int argc, char** argv) {
  gtk_init(&argc, &argv);
  bool exitWhenMapped = false;
  for (int i = 1; i < argc; ++i) {
    if (std::strcmp(argv[i], "--exit-when-mapped") == 0) {
      exitWhenMapped = true;
    } else {
      g_printerr("usage: %s [--exit-when-mapped]\n", argv[0]);
      return 2;
    }
  }

  GtkWidget* window = gtk_window_new(GTK_WINDOW_TOPLEVEL);
  gtk_window_set_resizable(GTK_WINDOW(window), FALSE);
  gtk_widget_set_size_request(window, 500, 380);
  gtk_container_set_border_width(GTK_CONTAINER(window), 2);
  gtk_window_set_title(GTK_WINDOW(window), kTitle);
  gtk_window_set_position(GTK_WINDOW(window), GTK_WIN_POS_CENTER_ALWAYS);
  g_signal_connect(window, "destroy", G_CALLBACK(gtk_main_quit), nullptr);
  if (exitWhenMapped) g_signal_connect(window, "map-event", G_CALLBACK(quitOnMap), nullptr);

  GtkWidget* notebook = gtk_notebook_new();
  gtk_container_add(GTK_CONTAINER(window), notebook);
  fillPrintersPage(addPage(notebook, "Printers"));
  addPage(notebook, "Jobs");

  gtk_widget_show_all(window);
  gtk_main();
  return 0;
}
