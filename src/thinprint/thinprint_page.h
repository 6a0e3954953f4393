// The ThinPrint page: client settings, start script and the ThinPrint printer list.
#pragma once

#include <gtk/gtk.h>

#include "thinprint/thinprint_conf.h"

// Index of the ThinPrint printer list's row selected last (starts at 0).
extern int tprow_n;

// Adds the page to the notebook only when the ThinPrint client is installed.
void thinprintpkg(GtkWidget* notebook, GtkWidget* pg1);
// Fills the page from the settings file; the page box is the list's third ancestor.
void readthinprintconf(GtkWidget* tplist);

// Handlers of the page.
void ckbtnbandport_toggled(GtkWidget* widget, gpointer data);
void btntpsave_clicked(GtkWidget* widget, gpointer data);

// Widget paths of the page.
GtkWidget* tpEnableOf(GtkWidget* pageBox);
GtkWidget* tpBandwidthEntryOf(GtkWidget* pageBox);
GtkWidget* tpBandwidthDefaultOf(GtkWidget* pageBox);
GtkWidget* tpPortEntryOf(GtkWidget* pageBox);
GtkWidget* tpPortDefaultOf(GtkWidget* pageBox);
GtkWidget* tpListOf(GtkWidget* pageBox);
GtkWidget* tpButtonColumnOf(GtkWidget* pageBox);
GtkWidget* tpImportOf(GtkWidget* buttonColumn);
GtkWidget* tpAddOf(GtkWidget* buttonColumn);
GtkWidget* tpModifyOf(GtkWidget* buttonColumn);
GtkWidget* tpDeleteOf(GtkWidget* buttonColumn);
GtkWidget* tpSaveOf(GtkWidget* buttonColumn);
GtkWidget* tpExitOf(GtkWidget* buttonColumn);
GtkWidget* tpPageOfList(GtkWidget* tplist);
GtkWidget* tpMainWindowOfList(GtkWidget* tplist);
GtkWidget* tpButtonColumnOfList(GtkWidget* tplist);
GtkWidget* tpPageOfButton(GtkWidget* button);
GtkWidget* tpListOfButton(GtkWidget* button);
// notebook > page 2, or nullptr when the page was not made.
GtkWidget* thinprintPageOf(GtkWidget* notebook);

// Makes "Modify" and "Delete" sensitive exactly when the list has rows.
void tpUpdateRowButtons(GtkWidget* buttonColumn, GtkWidget* tplist);
