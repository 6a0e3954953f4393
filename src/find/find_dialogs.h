// The dialogs of the printer editor that find what to type: "Find Network Printers" (printers
// announced on the local network and the queues of a host) and "Printer Shares on SERVER".
// Both are modal to the editor and run until a row is chosen with "_Ok" or "_Cancel" is pressed;
// the searches run meanwhile on the main loop and stop with the dialog.
#pragma once

#include <gtk/gtk.h>

#include <string>

#include "find/share_browse.h"

struct FoundPrinter {
  std::string host, queue;
};

// host: what the LPD Server entry holds; its queues are asked for at once when it is a host.
// True with the chosen row in chosen; false when cancelled.
bool findNetworkPrinter(GtkWidget* editorWindow, const std::string& host, FoundPrinter* chosen);
// True with the chosen share's name in share; false when cancelled.
bool browsePrinterShares(GtkWidget* editorWindow, const ShareQuestion& question,
                         std::string* share);

// Widget paths of both dialogs, from the dialog: its content box holds a first row (Find: the
// host row, label, entry, "_Search"; Browse: who asks), then a scrolled window with the list,
// then the status label.
GtkWidget* foundListOf(GtkWidget* dialog);
GtkWidget* findStatusOf(GtkWidget* dialog);
GtkWidget* findHostEntryOf(GtkWidget* dialog);     // Find only
GtkWidget* findSearchButtonOf(GtkWidget* dialog);  // Find only

void buttonSearch_clicked(GtkWidget* widget, gpointer data);
void entryHost_activate(GtkWidget* widget, gpointer data);
void foundList_select_row(GtkWidget* widget, gint row, gint column, GdkEvent* event, gpointer data);
