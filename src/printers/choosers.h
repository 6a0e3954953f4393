// The editor's choosers (device ports, filters, PPD files) and the Modify form that fills the
// editor from a row. Uses the editor's paths, never the editor itself.
#pragma once

#include <gtk/gtk.h>

#include <string>
#include <vector>

void cbfilter_changed(GtkWidget* widget, gpointer data);
void fill_filters(GtkWidget* cbprfilter);
void fill_PPD(GtkWidget* cbprPPD);
// The Modify form: loads row row_n of the printer table into the editor's window box.
void loadPrinterRow(GtkWidget* windowBox, GtkWidget* prtlist);

// The items of a listing command line that writes into the fixed temporary file path
// (commandOutput: claimed first, removed after).
std::vector<std::string> readListing(const std::string& command, const std::string& path);
