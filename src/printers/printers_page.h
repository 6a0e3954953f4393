// The Printers page: the printer table, the boot-time switch, Add, Modify, Delete, Exit.
#pragma once

#include <gtk/gtk.h>

#include "printers/page_paths.h"

// Builds the page into the Printers page box and fills the printer table.
void drawprinterlist(GtkWidget* pageBox);

void printerlist_selected(GtkWidget* widget, gint row, gint column, GdkEventButton* event,
                          gpointer data);
void buttonAdd_clicked(GtkWidget* widget, gpointer data);
void buttonModify_clicked(GtkWidget* widget, gpointer data);
void buttonDelete_clicked(GtkWidget* widget, gpointer data);
