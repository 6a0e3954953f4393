// Start-up baseline: nothing but the main window's widget layout (Printers and Jobs pages,
// tables empty), so the cost of GTK itself can be told apart from our own start-up work.
#include <gtk/gtk.h>
#include <libintl.h>

#include <clocale>
#include <cstring>

namespace {

const char* const kTitle = "Kelvane Printer Management";

// With --translated, every text through the program's catalogue in the language of the
// environment, as the program shows them: both sides then pay for that language's fonts and
// glyphs alike.
bool translated = false;
const char* T(const char* text) {
  return translated ? dgettext("solvo-printer-mgr", text) : text;
}

gboolean quitOnMap(GtkWidget* /*widget*/, GdkEvent* /*event*/, gpointer /*data*/) {
  gtk_main_quit();
  return FALSE;
}

GtkWidget* addPage(GtkWidget* notebook, const char* tabLabel) {
  GtkWidget* page = gtk_vbox_new(FALSE, 0);
  gtk_notebook_append_page(GTK_NOTEBOOK(notebook), page, gtk_label_new(T(tabLabel)));
  return page;
}

struct Column {
  const char* title;
  int width;
  bool shown;
};

// An empty column list in a scrolled window, columns as the program sets them up.
GtkWidget* addTable(GtkWidget* page, const Column* columns, int count) {
  GtkWidget* list = gtk_clist_new(count);
  for (int i = 0; i < count; ++i) {
    gtk_clist_set_column_width(GTK_CLIST(list), i, columns[i].width);
    gtk_clist_set_column_widget(GTK_CLIST(list), i, gtk_label_new(T(columns[i].title)));
    if (!columns[i].shown) gtk_clist_set_column_visibility(GTK_CLIST(list), i, FALSE);
  }
  gtk_clist_column_titles_show(GTK_CLIST(list));
  gtk_clist_set_selection_mode(GTK_CLIST(list), GTK_SELECTION_BROWSE);
  GtkWidget* scrolled = gtk_scrolled_window_new(nullptr, nullptr);
  gtk_scrolled_window_set_policy(GTK_SCROLLED_WINDOW(scrolled), GTK_POLICY_AUTOMATIC,
                                 GTK_POLICY_AUTOMATIC);
  gtk_container_add(GTK_CONTAINER(scrolled), list);
  gtk_box_pack_start(GTK_BOX(page), scrolled, TRUE, TRUE, 0);
  return list;
}

void addButtonRow(GtkWidget* page, const char* const* labels, int count) {
  GtkWidget* buttons = gtk_hbox_new(TRUE, 0);
  for (int i = 0; i < count; ++i) {
    gtk_box_pack_start(GTK_BOX(buttons), gtk_button_new_with_label(T(labels[i])), TRUE, TRUE, 0);
  }
  gtk_box_pack_start(GTK_BOX(buttons), gtk_fixed_new(), TRUE, TRUE, 0);
  GtkWidget* exitButton = gtk_button_new_with_label(T("Exit"));
  g_signal_connect(exitButton, "clicked", G_CALLBACK(gtk_main_quit), nullptr);
  gtk_box_pack_start(GTK_BOX(buttons), exitButton, TRUE, TRUE, 0);
  gtk_box_pack_start(GTK_BOX(page), buttons, FALSE, FALSE, 5);
}

void fillPrintersPage(GtkWidget* page) {
  gtk_box_pack_start(GTK_BOX(page),
                     gtk_check_button_new_with_label(T("Load LPD Server at boot time")), FALSE,
                     FALSE, 10);
  const Column columns[] = {{"Default", 60, true},
                            {"Printer Name", 100, true},
                            {"Description", 100, true},
                            {"Type", 60, true},
                            {"Device", 155, true},
                            {"Filter", 0, false},
                            {"PPD", 0, false},
                            {"WD", 0, false},
                            {"FQ", 0, false}};
  addTable(page, columns, 9);
  const char* const labels[] = {"Add", "Modify", "Delete"};
  addButtonRow(page, labels, 3);
}

void fillJobsPage(GtkWidget* page) {
  GtkWidget* chooserRow = gtk_hbox_new(FALSE, 0);
  gtk_box_pack_start(GTK_BOX(page), chooserRow, FALSE, FALSE, 10);
  gtk_box_pack_start(GTK_BOX(chooserRow), gtk_label_new(T("Select Printer:")), FALSE, FALSE, 10);
  gtk_box_pack_end(GTK_BOX(chooserRow), gtk_combo_box_new_text(), TRUE, TRUE, 10);
  const Column columns[] = {{"Rank", 60, true},   {"Owner", 150, true}, {"Class", 50, true},
                            {"Job ID", 50, true}, {"Files", 140, true}, {"Size", 60, true},
                            {"Time", 120, true}};
  addTable(page, columns, 7);
  const char* const labels[] = {"Refresh", "Delete", "Delete All"};
  addButtonRow(page, labels, 3);
}

}  // namespace

int main(int argc, char** argv) {
  gtk_init(&argc, &argv);
  bool exitWhenMapped = false;
  for (int i = 1; i < argc; ++i) {
    if (std::strcmp(argv[i], "--exit-when-mapped") == 0) {
      exitWhenMapped = true;
    } else if (std::strcmp(argv[i], "--translated") == 0) {
      translated = true;
    } else {
      g_printerr("usage: %s [--exit-when-mapped] [--translated]\n", argv[0]);
      return 2;
    }
  }
  if (translated) {
    std::setlocale(LC_ALL, "");
    bind_textdomain_codeset("solvo-printer-mgr", "UTF-8");
  }

  GtkWidget* window = gtk_window_new(GTK_WINDOW_TOPLEVEL);
  gtk_window_set_resizable(GTK_WINDOW(window), FALSE);
  gtk_widget_set_size_request(window, 500, 380);
  gtk_container_set_border_width(GTK_CONTAINER(window), 2);
  gtk_window_set_title(GTK_WINDOW(window), T(kTitle));
  gtk_window_set_position(GTK_WINDOW(window), GTK_WIN_POS_CENTER_ALWAYS);
  g_signal_connect(window, "destroy", G_CALLBACK(gtk_main_quit), nullptr);
  if (exitWhenMapped) g_signal_connect(window, "map-event", G_CALLBACK(quitOnMap), nullptr);

  GtkWidget* notebook = gtk_notebook_new();
  gtk_container_add(GTK_CONTAINER(window), notebook);
  fillPrintersPage(addPage(notebook, "Printers"));
  fillJobsPage(addPage(notebook, "Jobs"));

  gtk_widget_show_all(window);
  gtk_main();
  return 0;
}
