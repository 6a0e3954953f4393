// Widget paths of the printer editor: what the editor, its choosers, the Modify form and the
// saving checks all find their fields by. Kept apart from the editor's builder, so that the
// editor uses the choosers and nothing uses the editor back.
#pragma once

#include <gtk/gtk.h>

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
GtkWidget* findButtonOf(GtkWidget* infoBox);              // child 3 of row 4 (Network)
GtkWidget* browseButtonOf(GtkWidget* infoBox);            // child 4 of row 4 (Samba)
