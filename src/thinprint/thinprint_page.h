// The ThinPrint page: client settings, start script and the ThinPrint printer list.
#pragma once

#include <gtk/gtk.h>

// Index of the ThinPrint printer list's row selected last (starts at 0).
extern int tprow_n;

// Adds the page to the notebook only when the ThinPrint client is installed.
void thinprintpkg(GtkWidget* notebook, GtkWidget* pg1);
