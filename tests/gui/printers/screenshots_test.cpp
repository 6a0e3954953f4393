// Pictures of the Printers page and of the editor's layouts for the README. Runs only when
// SPM_SCREENSHOT_DIR names a folder (`make screenshot`), on the seeded sandbox.
#include <gtest/gtest.h>

#include <cstdlib>
#include <string>

#include "app/startup.h"
#include "app/widgets.h"
#include "gui_support.h"
#include "printers/editor.h"
#include "printers/printers_page.h"
#include "store/printer_table.h"

namespace {

void saveWindow(GtkWidget* window, const std::string& path) {
  gtk_window_present(GTK_WINDOW(window));
  for (int i = 0; i < 40; ++i) {  // let it map and draw
    pumpEvents();
    g_usleep(5000);
  }
  gint width = 0, height = 0;
  gdk_drawable_get_size(window->window, &width, &height);
  GdkPixbuf* shot =
      gdk_pixbuf_get_from_drawable(nullptr, window->window, nullptr, 0, 0, 0, 0, width, height);
  ASSERT_NE(shot, nullptr);
  EXPECT_TRUE(gdk_pixbuf_save(shot, path.c_str(), "png", nullptr, nullptr));
  g_object_unref(shot);
}

GtkWidget* toplevelTitled(const char* title) {
  GList* windows = gtk_window_list_toplevels();
  GtkWidget* found = nullptr;
  for (GList* w = windows; w != nullptr; w = w->next) {
    const gchar* t = gtk_window_get_title(GTK_WINDOW(w->data));
    if (t != nullptr && std::string(t) == title) found = GTK_WIDGET(w->data);
  }
  g_list_free(windows);
  return found;
}

}  // namespace

TEST(Screenshots, PrintersPageAndEditorLayouts) {
  const char* folder = std::getenv("SPM_SCREENSHOT_DIR");
  if (folder == nullptr) GTEST_SKIP() << "SPM_SCREENSHOT_DIR not set";
  const std::string dir = folder;
  PageBuilders pages;
  pages.printers = drawprinterlist;
  GtkWidget* main = buildMainWindow(pages);
  gtk_widget_show(main);
  saveWindow(main, dir + "/printers-page.png");
  GtkWidget* table =
      printerTableOf(gtk_notebook_get_nth_page(GTK_NOTEBOOK(mainNotebookOf(main)), 0));
  AddModifyprinter("Add New Printer", table);
  GtkWidget* editor = toplevelTitled("Add New Printer");
  ASSERT_NE(editor, nullptr);
  GtkWidget* typeBox = printerTypeBoxOf(findWidget(editor, nullptr, 1));
  const std::pair<TypeButton, const char*> layouts[] = {{kParallel, "editor-parallel.png"},
                                                        {kNetwork, "editor-network.png"},
                                                        {kSamba, "editor-samba.png"}};
  for (const auto& layout : layouts) {
    gtk_toggle_button_set_active(GTK_TOGGLE_BUTTON(typeButtonOf(typeBox, layout.first)), TRUE);
    saveWindow(editor, dir + "/" + layout.second);
  }
  gtk_widget_destroy(editor);
  gtk_widget_destroy(main);
}
