// Editing the ThinPrint printer list: Import, Add, Modify, Delete and the small editor window.
#pragma once

#include <gtk/gtk.h>

// Builds and shows the editor for tplist; the title also tells Add from Modify.
void addmodtp(GtkWidget* tplist, const char* title);

// Handlers connected by the page and by the editor.
void tplist_selected(GtkWidget* widget, gint row, gint column, GdkEventButton* event,
                     gpointer data);
void btntpadd_clicked(GtkWidget* widget, gpointer data);
void btntpmod_clicked(GtkWidget* widget, gpointer data);
void tpbtnok_clicked(GtkWidget* widget, gpointer data);
void tpbtnexit_clicked(GtkWidget* widget, gpointer data);
void btntpdel_clicked(GtkWidget* widget, gpointer data);
void btntpimp_clicked(GtkWidget* widget, gpointer data);

// Widget paths of the editor window.
GtkWidget* tpEditorBoxOf(GtkWidget* window);
GtkWidget* tpEditorNameEntryOf(GtkWidget* box);
GtkWidget* tpEditorDeviceEntryOf(GtkWidget* box);
GtkWidget* tpEditorOkOf(GtkWidget* box);
GtkWidget* tpEditorCancelOf(GtkWidget* box);
GtkWidget* tpEditorBoxOfButton(GtkWidget* button);
GtkWidget* tpEditorWindowOfButton(GtkWidget* button);
