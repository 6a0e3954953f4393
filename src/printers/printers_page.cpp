#include "printers/printers_page.h"

int row_n = 0;

void drawprinterlist(GtkWidget* /*pageBox*/) {}
