#include "printers/page_paths.h"

#include "app/widgets.h"
#include "printers/store_adapters.h"

int row_n = 0;

// Page box > child 1.
GtkWidget* bootSwitchOf(GtkWidget* pageBox) {
  return findWidget(pageBox, nullptr, 1);
}

// Page box > child 3.
GtkWidget* buttonRowOf(GtkWidget* pageBox) {
  return findWidget(pageBox, nullptr, 3);
}

// Page box > button row (3) > child 1.
GtkWidget* addButtonOf(GtkWidget* pageBox) {
  return widgetAt(pageBox, {3, 1});
}

// Page box > button row (3) > child 2.
GtkWidget* modifyButtonOf(GtkWidget* pageBox) {
  return widgetAt(pageBox, {3, 2});
}

// Page box > button row (3) > child 3.
GtkWidget* deleteButtonOf(GtkWidget* pageBox) {
  return widgetAt(pageBox, {3, 3});
}

void syncModifyDeleteSensitivity(GtkWidget* pageBox) {
  const gboolean any = clistRows(printerTableOf(pageBox)) > 0;
  gtk_widget_set_sensitive(modifyButtonOf(pageBox), any);
  gtk_widget_set_sensitive(deleteButtonOf(pageBox), any);
}
