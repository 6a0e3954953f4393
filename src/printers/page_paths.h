// What the editor's choosers and saving need of the Printers page: the selected row, the page's
// widget paths and the sensitivity of Modify and Delete. Apart from the page builder, so that
// they never include the page (which opens the editor).
#pragma once

#include <gtk/gtk.h>

// Index of the printer table's row selected last (starts at 0).
extern int row_n;

// Widget paths of the page, from its page box.
GtkWidget* bootSwitchOf(GtkWidget* pageBox);    // child 1
GtkWidget* buttonRowOf(GtkWidget* pageBox);     // child 3
GtkWidget* addButtonOf(GtkWidget* pageBox);     // child 1 of the button row
GtkWidget* modifyButtonOf(GtkWidget* pageBox);  // child 2 of the button row
GtkWidget* deleteButtonOf(GtkWidget* pageBox);  // child 3 of the button row
// Modify and Delete are usable exactly when the table has rows.
void syncModifyDeleteSensitivity(GtkWidget* pageBox);
