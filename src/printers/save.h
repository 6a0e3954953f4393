// "_Ok" and "_Test" of the printer editor: the checks, then saving or the test print.
#pragma once

#include <gtk/gtk.h>

// `widget` is the clicked button, `data` the printer table.
void BtnPrintOkTest_clicked(GtkWidget* widget, gpointer data);
