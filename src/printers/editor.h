// The printer editor window: its widget tree, type switching, the choosers and Cancel.
#pragma once

#include <gtk/gtk.h>

#include <string>
#include <vector>

// Builds, fills and shows the editor for the printer table prtlist; title sets the form.
void AddModifyprinter(const char* title, GtkWidget* prtlist);

void rbparORusb_clicked(GtkWidget* widget, gpointer data);
void rbnetwork_clicked(GtkWidget* widget, gpointer data);
void rbsamba_clicked(GtkWidget* widget, gpointer data);
void BtnPrintCancel_clicked(GtkWidget* widget, gpointer data);

// Runs a listing command line into the fixed temporary file path (claimed first), reads its
// lines whole, then runs removeLine. No listing is run when path cannot be claimed.
std::vector<std::string> readListing(const std::string& command, const std::string& path,
                                     const std::string& removeLine);

// Rows of the Printer Info box (1-based).
enum InfoRow {
  kRowName = 1,
  kRowDescription = 2,
  kRowDevice = 3,
  kRowServer = 4,  // "LPD Server:" / "Samba Server:"
  kRowShared = 5,  // "Queue Name:" / "Shared Printer:"
  kRowSmbUser = 6,
  kRowSmbPassword = 7,
  kRowSmbWorkgroup = 8,
  kRowDriver = 9,
  kRowFilter = 10,
  kRowPPD = 11,
  kRowFormFeed = 12,
  kRowDefault = 13
};
// Type buttons, children of the Printer Type box.
enum TypeButton { kParallel = 1, kSerial, kUSB, kNetwork, kSamba };

// Widget paths of the editor. The window box is the editor window's only child.
GtkWidget* editorWindowOf(GtkWidget* editorButton);     // button row > window box > window
GtkWidget* windowBoxOfButton(GtkWidget* editorButton);  // grandparent of a button-row button
GtkWidget* printerTypeBoxOf(GtkWidget* windowBox);      // child 1 of child 1
GtkWidget* printerInfoBoxOf(GtkWidget* windowBox);      // child 1 of child 2
GtkWidget* editorButtonRowOf(GtkWidget* windowBox);     // child 3
GtkWidget* typeButtonOf(GtkWidget* typeBox, TypeButton which);
GtkWidget* infoRowOf(GtkWidget* infoBox, InfoRow row);    // child N
GtkWidget* infoFieldOf(GtkWidget* infoBox, InfoRow row);  // child 2 of child N (entry/chooser)
GtkWidget* infoLabelOf(GtkWidget* infoBox, InfoRow row);  // child 1 of child N
GtkWidget* formFeedCheckOf(GtkWidget* infoBox);           // child 1 of row 12
GtkWidget* makeDefaultCheckOf(GtkWidget* infoBox);        // child 1 of row 13
GtkWidget* translateCheckOf(GtkWidget* infoBox);          // child 2 of row 13
