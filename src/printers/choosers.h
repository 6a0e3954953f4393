// The editor's filter and PPD choosers and the Modify form that fills the editor from a row.
#pragma once

#include <gtk/gtk.h>

void cbfilter_changed(GtkWidget* widget, gpointer data);
void fill_filters(GtkWidget* cbprfilter);
void fill_PPD(GtkWidget* cbprPPD);
// The Modify form: loads row row_n of the printer table into the editor's window box.
void loadPrinterRow(GtkWidget* windowBox, GtkWidget* prtlist);
