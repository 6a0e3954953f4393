// The Printers page: the printer table, the boot-time switch, Add, Modify, Delete, Exit.
#pragma once

#include <gtk/gtk.h>

// Index of the printer table's row selected last (starts at 0).
extern int row_n;

// Builds the page into the Printers page box and fills the printer table.
void drawprinterlist(GtkWidget* pageBox);

void printerlist_selected(GtkWidget* widget, gint row, gint column, GdkEventButton* event,
                          gpointer data);
void buttonAdd_clicked(GtkWidget* widget, gpointer data);
void buttonModify_clicked(GtkWidget* widget, gpointer data);
void buttonDelete_clicked(GtkWidget* widget, gpointer data);

// Widget paths of the page, from its page box.
GtkWidget* bootSwitchOf(GtkWidget* pageBox);    // child 1
GtkWidget* buttonRowOf(GtkWidget* pageBox);     // child 3
GtkWidget* addButtonOf(GtkWidget* pageBox);     // child 1 of the button row
GtkWidget* modifyButtonOf(GtkWidget* pageBox);  // child 2 of the button row
GtkWidget* deleteButtonOf(GtkWidget* pageBox);  // child 3 of the button row
// Modify and Delete are usable exactly when the table has rows.
void syncModifyDeleteSensitivity(GtkWidget* pageBox);
