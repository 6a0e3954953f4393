#include "app/widgets.h"

#include <gtest/gtest.h>

#include "app/startup.h"
#include "gui_support.h"

TEST(FindWidget, FollowsTheToolkitsChildOrder) {
  GtkWidget* box = gtk_hbox_new(FALSE, 0);
  GtkWidget* first = gtk_label_new("1");
  GtkWidget* second = gtk_label_new("2");
  GtkWidget* third = gtk_label_new("3");
  gtk_box_pack_start(GTK_BOX(box), first, FALSE, FALSE, 0);
  gtk_box_pack_end(GTK_BOX(box), second, FALSE, FALSE, 0);
  gtk_box_pack_end(GTK_BOX(box), third, FALSE, FALSE, 0);
  EXPECT_EQ(findWidget(box, nullptr, 1), first);
  EXPECT_EQ(findWidget(box, nullptr, 2), third);  // packed from the end: reverse order
  EXPECT_EQ(findWidget(box, nullptr, 3), second);
  for (int index : {0, -1, -100}) EXPECT_EQ(findWidget(box, nullptr, index), first);
  destroyUnpacked(box);
}

TEST(InfoEntry, LabelIsChildOneAndEntryChildTwo) {
  GtkWidget* row = info_entry("Printer Name:");
  GtkWidget* label = findWidget(row, nullptr, 1);
  GtkWidget* entry = findWidget(row, nullptr, 2);
  ASSERT_TRUE(GTK_IS_LABEL(label));
  EXPECT_STREQ(gtk_label_get_text(GTK_LABEL(label)), "Printer Name:");
  ASSERT_TRUE(GTK_IS_ENTRY(entry));
  gint width = 0;
  gtk_widget_get_size_request(entry, &width, nullptr);
  EXPECT_EQ(width, 200);
  destroyUnpacked(row);
}

TEST(FindData, FirstExactCaseSensitiveMatch) {
  GtkWidget* list = gtk_clist_new(2);
  EXPECT_EQ(find_data(list, "x", 0), -1);
  const char* rows[][2] = {{"a", "Yes"}, {"b", "yes"}, {"c", "Yes"}};
  for (auto& row : rows) {
    const gchar* cells[] = {row[0], row[1]};
    gtk_clist_append(GTK_CLIST(list), const_cast<gchar**>(cells));
  }
  EXPECT_EQ(find_data(list, "Yes", 1), 0);
  EXPECT_EQ(find_data(list, "yes", 1), 1);
  EXPECT_EQ(find_data(list, "YES", 1), -1);
  EXPECT_EQ(find_data(list, "c", 0), 2);
  destroyUnpacked(list);
}

// A column read in one pass agrees with the cell-by-cell reading, after removals and inserts
// (which is where a walk of the row chain could lose its place), and a cell without text or a
// column that does not exist gives nothing rather than garbage.
TEST(ClistColumn, AgreesWithCellByCellReading) {
  GtkWidget* list = gtk_clist_new(2);
  EXPECT_TRUE(clistColumn(list, 0).empty());
  for (const char* name : {"a", "b", "c", "d"}) {
    const gchar* cells[] = {name, "x"};
    gtk_clist_append(GTK_CLIST(list), const_cast<gchar**>(cells));
  }
  gtk_clist_remove(GTK_CLIST(list), 1);
  const gchar* first[] = {"z", "y"};
  gtk_clist_insert(GTK_CLIST(list), 0, const_cast<gchar**>(first));
  gtk_clist_set_text(GTK_CLIST(list), 3, 1, "last");
  GdkPixmap* pixmap = gdk_pixmap_new(nullptr, 1, 1, 24);
  gtk_clist_set_pixmap(GTK_CLIST(list), 2, 1, pixmap, nullptr);
  g_object_unref(pixmap);
  for (int column : {0, 1}) {
    std::vector<std::string> byCell;
    for (int row = 0; row < clistRows(list); ++row) byCell.push_back(clistCell(list, row, column));
    EXPECT_EQ(clistColumn(list, column), byCell) << column;
  }
  EXPECT_EQ(clistColumn(list, 0), (std::vector<std::string>{"z", "a", "c", "d"}));
  EXPECT_EQ(clistColumn(list, 1), (std::vector<std::string>{"y", "x", "", "last"}));
  EXPECT_TRUE(clistColumn(list, 2).empty());
  EXPECT_TRUE(clistColumn(list, -1).empty());
  destroyUnpacked(list);
}

TEST(CustomDialog, MarkupMessageAndOneOkButton) {
  GtkWidget* dialog = customDialog("Title", "<b>bold</b> &amp; plain", GTK_STOCK_DIALOG_ERROR);
  EXPECT_STREQ(gtk_window_get_title(GTK_WINDOW(dialog)), "Title");
  GList* buttons = gtk_container_get_children(GTK_CONTAINER(GTK_DIALOG(dialog)->action_area));
  ASSERT_EQ(g_list_length(buttons), 1u);
  EXPECT_STREQ(gtk_button_get_label(GTK_BUTTON(buttons->data)), "_Ok");
  g_list_free(buttons);
  DialogAnswer answer;
  answerNextDialog(GTK_RESPONSE_ACCEPT, &answer);
  EXPECT_EQ(gtk_dialog_run(GTK_DIALOG(dialog)), GTK_RESPONSE_ACCEPT);
  EXPECT_EQ(answer.message, "bold & plain");  // shown formatted, not as tags
  gtk_widget_destroy(dialog);
}

TEST(MarkupEscape, FileTextShowsLiterally) {
  EXPECT_EQ(markupEscape("a<b>&'\""), "a&lt;b&gt;&amp;&apos;&quot;");
}

TEST(EditorWindows, ClosingGivesTheMainWindowBack) {
  GtkWidget* mainWindow = gtk_window_new(GTK_WINDOW_TOPLEVEL);
  gtk_widget_set_sensitive(mainWindow, FALSE);
  GtkWidget* editor = gtk_window_new(GTK_WINDOW_TOPLEVEL);
  g_signal_connect(editor, "destroy", G_CALLBACK(nwindow_destroyed), mainWindow);
  gtk_widget_destroy(editor);
  EXPECT_TRUE(gtk_widget_get_sensitive(mainWindow));
  gtk_widget_destroy(mainWindow);
}

TEST(MainWindow, FixedSizeNotebookWithPrintersAndJobs) {
  GtkWidget* window = buildMainWindow(PageBuilders{});
  EXPECT_STREQ(gtk_window_get_title(GTK_WINDOW(window)), "Kelvane Printer Management");
  EXPECT_FALSE(gtk_window_get_resizable(GTK_WINDOW(window)));
  gint width = 0, height = 0;
  gtk_widget_get_size_request(window, &width, &height);
  EXPECT_EQ(width, 500);
  EXPECT_EQ(height, 380);
  GtkWidget* notebook = mainNotebookOf(window);
  ASSERT_TRUE(GTK_IS_NOTEBOOK(notebook));
  ASSERT_EQ(gtk_notebook_get_n_pages(GTK_NOTEBOOK(notebook)), 2);
  const char* tabs[] = {"Printers", "Jobs"};
  for (int page = 0; page < 2; ++page) {
    GtkWidget* box = gtk_notebook_get_nth_page(GTK_NOTEBOOK(notebook), page);
    EXPECT_TRUE(GTK_IS_VBOX(box));
    EXPECT_STREQ(gtk_notebook_get_tab_label_text(GTK_NOTEBOOK(notebook), box), tabs[page]);
    EXPECT_EQ(gtk_widget_get_parent(gtk_widget_get_parent(box)), window);
  }
  gtk_widget_destroy(window);
}
