#include "app/widgets.h"

#include <gtest/gtest.h>

#include "gui_support.h"

// A column read in one pass after a removal and an insert (where a walk of the row chain could
// lose its place), "" for a cell without text; find_data matches whole, case-sensitive cells.
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
  EXPECT_EQ(clistColumn(list, 0), (Lines{"z", "a", "c", "d"}));
  EXPECT_EQ(clistColumn(list, 1), (Lines{"yes", "Yes", "", "Yes"}));
  EXPECT_EQ(clistCell(list, 3, 0) + clistCell(list, 2, 1) + clistCell(list, 4, 0), "d");
  EXPECT_EQ(find_data(list, "Yes", 1) * 10 + find_data(list, "d", 0), 13);
  EXPECT_EQ(find_data(list, "YES", 1), -1);
  destroyUnpacked(list);
}

// Children packed from the start come first, then those from the end in reverse; an index of 1
// or less gives the first child, the count the last.
TEST(FindWidget, ToolkitOrderAndOutOfRangeIndexes) {
  GtkWidget* box = gtk_hbox_new(FALSE, 0);
  GtkWidget *first = gtk_label_new("1"), *second = gtk_label_new("2"), *third = gtk_label_new("3");
  gtk_box_pack_start(GTK_BOX(box), first, FALSE, FALSE, 0);
  gtk_box_pack_end(GTK_BOX(box), second, FALSE, FALSE, 0);
  gtk_box_pack_end(GTK_BOX(box), third, FALSE, FALSE, 0);
  EXPECT_EQ(std::vector<GtkWidget*>({findWidget(box, nullptr, 0), findWidget(box, nullptr, -7),
                                     findWidget(box, nullptr, 1), findWidget(box, nullptr, 2),
                                     findWidget(box, nullptr, 3)}),
            std::vector<GtkWidget*>({first, first, first, third, second}));
  destroyUnpacked(box);
}
