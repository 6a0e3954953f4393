// The printer editor window: its widget tree, type switching and Cancel. Its paths are in
// editor_paths.h, its choosers and the Modify form in choosers.h.
#pragma once

#include <gtk/gtk.h>

// Builds, fills and shows the editor for the printer table prtlist; title sets the form.
void AddModifyprinter(const char* title, GtkWidget* prtlist);

void rbparORusb_clicked(GtkWidget* widget, gpointer data);
void rbnetwork_clicked(GtkWidget* widget, gpointer data);
void rbsamba_clicked(GtkWidget* widget, gpointer data);
void BtnPrintCancel_clicked(GtkWidget* widget, gpointer data);
// "Find..." (Network) and "Browse..." (Samba) beside the server entry: the chosen printer or
// share fills the entries; cancelling changes nothing.
void buttonFind_clicked(GtkWidget* widget, gpointer data);
void buttonBrowse_clicked(GtkWidget* widget, gpointer data);
