#include "app/widgets.h"

#include <gtest/gtest.h>

#include "gui_support.h"

// Packed from the start first, then from the end in reverse; 1 or less: the first child.
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
