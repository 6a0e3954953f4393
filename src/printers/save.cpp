#include "printers/save.h"

void BtnPrintOkTest_clicked(GtkWidget* /*widget*/, gpointer /*data*/) {}
