#include "app/widgets.h"

#include <gtest/gtest.h>

#include "gui_support.h"

// A column read in one pass agrees with cell reads after a removal and an insert (where a walk
// of the row chain could lose its place), "" for a cell without text; find_data matches whole,
// case-sensitive cells.
TEST(ClistColumn, AgreesWithCellReadsAfterRemovals) {
  GtkWidget* list = gtk_clist_new(2);
  for (const char* name : {"a", "b", "c", "d", "z"}) {
    const gchar* cells[] = {name, name[0] == 'z' ? "yes" : "Yes"};
    gtk_clist_insert(GTK_CLIST(list), name[0] == 'z' ? 0 : -1, const_cast<gchar**>(cells));
    if (name[0] == 'c') gtk_clist_remove(GTK_CLIST(list), 1);
  }
  GdkPixmap* pixmap = gdk_pixmap_new(nullptr, 1, 1, 24);
  gtk_clist_set_pixmap(GTK_CLIST(list), 2, 1, pixmap, nullptr);
  g_object_unref(pixmap);
  for (int column : {0, 1}) {
    std::vector<std::string> cells;
    for (int row = 0; row < clistRows(list); ++row) cells.push_back(clistCell(list, row, column));
    EXPECT_EQ(clistColumn(list, column), cells) << column;
  }
  EXPECT_EQ(clistColumn(list, 1), (std::vector<std::string>{"yes", "Yes", "", "Yes"}));
  EXPECT_EQ(find_data(list, "Yes", 1) * 10 + find_data(list, "d", 0), 13);
  EXPECT_EQ(find_data(list, "YES", 1), -1);
  destroyUnpacked(list);
}
