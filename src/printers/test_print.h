// "_Test" of the printer editor: one test page through a printcap naming the edited printer
// alone, then the printers' printcap back.
#pragma once

#include <gtk/gtk.h>

#include "store/printcap.h"

// table is the printer table, whose printcap is put back on every path after the test
// printcap was written.
void printTestPage(GtkWidget* table, const TestPrinter& printer);
// Puts the printers' printcap back where a test print, stopped by a crash, left its
// one-printer file. Called at start-up, before the printcap is read.
void recoverFromTestPrint();
