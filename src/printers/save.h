// "_Ok" and "_Test" of the printer editor: the checks, saving, and the test print.
#pragma once

#include <gtk/gtk.h>

// `widget` is the clicked button, `data` the printer table.
void BtnPrintOkTest_clicked(GtkWidget* widget, gpointer data);
// Puts the printers' printcap back where a test print, stopped by a crash, left its
// one-printer file. Called at start-up, before the printcap is read.
void recoverFromTestPrint();
