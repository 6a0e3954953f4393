#include "jobs/jobs_page.h"

int jrow_n = 0;

void drawprintjobs(GtkWidget* /*pageBox*/) {}

void tabpage_switched(GtkNotebook* /*notebook*/, GtkNotebookPage* /*page*/, guint /*page_num*/,
                      gpointer /*user_data*/) {}
