#include "printers/editor_paths.h"

#include "app/widgets.h"

// Editor button > button row > window box > editor window.
GtkWidget* editorWindowOf(GtkWidget* editorButton) {
  return ancestor(editorButton, 3);
}

// Editor button > button row > window box.
GtkWidget* windowBoxOfButton(GtkWidget* editorButton) {
  return ancestor(editorButton, 2);
}

// Window box > "Printer Type" frame (1) > Printer Type box.
GtkWidget* printerTypeBoxOf(GtkWidget* windowBox) {
  return widgetAt(windowBox, {1, 1});
}

// Window box > "Printer Info" frame (2) > Printer Info box.
GtkWidget* printerInfoBoxOf(GtkWidget* windowBox) {
  return widgetAt(windowBox, {2, 1});
}

// Window box > child 3.
GtkWidget* editorButtonRowOf(GtkWidget* windowBox) {
  return findWidget(windowBox, nullptr, 3);
}

// Printer Type box > child 1..5.
GtkWidget* typeButtonOf(GtkWidget* typeBox, TypeButton which) {
  return findWidget(typeBox, nullptr, which);
}

// Printer Info box > row N.
GtkWidget* infoRowOf(GtkWidget* infoBox, InfoRow row) {
  return findWidget(infoBox, nullptr, row);
}

// Printer Info box > row N > child 2 (entry or chooser).
GtkWidget* infoFieldOf(GtkWidget* infoBox, InfoRow row) {
  return widgetAt(infoBox, {row, 2});
}

// Printer Info box > row N > child 1 (label).
GtkWidget* infoLabelOf(GtkWidget* infoBox, InfoRow row) {
  return widgetAt(infoBox, {row, 1});
}

// Printer Info box > row 12 > child 1.
GtkWidget* formFeedCheckOf(GtkWidget* infoBox) {
  return widgetAt(infoBox, {kRowFormFeed, 1});
}

// Printer Info box > row 13 > child 1.
GtkWidget* makeDefaultCheckOf(GtkWidget* infoBox) {
  return widgetAt(infoBox, {kRowDefault, 1});
}

// Printer Info box > row 13 > child 2.
GtkWidget* translateCheckOf(GtkWidget* infoBox) {
  return widgetAt(infoBox, {kRowDefault, 2});
}

// Printer Info box > row 4 > child 3.
GtkWidget* findButtonOf(GtkWidget* infoBox) {
  return widgetAt(infoBox, {kRowServer, 3});
}

// Printer Info box > row 4 > child 4.
GtkWidget* browseButtonOf(GtkWidget* infoBox) {
  return widgetAt(infoBox, {kRowServer, 4});
}
