#include "thinprint/thinprint_page.h"

int tprow_n = 0;

void thinprintpkg(GtkWidget* /*notebook*/, GtkWidget* /*pg1*/) {}
