// The Jobs page: the queue of one printer, listed again every 5 seconds while shown.
#pragma once

#include <gtk/gtk.h>

// Index of the job table's row selected last (starts at 0).
extern int jrow_n;

void drawprintjobs(GtkWidget* pageBox);
void tabpage_switched(GtkNotebook* notebook, GtkNotebookPage* page, guint page_num,
                      gpointer user_data);
