// Widget helpers: widget paths, message dialogs, labelled entry rows and column lists.
#pragma once

#include <gtk/gtk.h>

#include <memory>
#include <string>
#include <vector>

// A string from GLib or GTK that the caller owns.
using GStr = std::unique_ptr<gchar, decltype(&g_free)>;
inline GStr takeGStr(gchar* text) {
  return GStr(text, &g_free);
}

// A (translated) printf pattern filled in; values are numbers, C strings or std::strings.
inline const char* printfValue(const std::string& text) {
  return text.c_str();
}
template <typename Value>
Value printfValue(Value value) {
  return value;
}
template <typename... Values>
std::string formatted(const char* pattern, const Values&... values) {
  return takeGStr(g_strdup_printf(pattern, printfValue(values)...)).get();
}

// Child child_number (1-based; 1 or less gives the first) of parent. `widget` is unused.
GtkWidget* findWidget(GtkWidget* parent, GtkWidget* widget, int child_number);
// Follows a chain of 1-based child indexes from parent, one findWidget step per index.
GtkWidget* widgetAt(GtkWidget* parent, std::initializer_list<int> path);
// The n-th ancestor of widget (1 is its parent).
GtkWidget* ancestor(GtkWidget* widget, int n);

// A new message dialog with one "_Ok" button; message is Pango markup. Not yet shown.
GtkWidget* customDialog(const char* title, const char* message, const char* iconname);
// Builds, runs and destroys a message dialog.
void showMessageDialog(const std::string& title, const std::string& message, const char* iconname);
// The error dialog for a system file that could not be written, from the write's errno: a full
// disk gets "Error: Disk full" and diskFullMessage, a missing permission "Error: Permission
// denied" and noPermissionMessage, anything else the read-only title and text.
void showWriteFailure(int error, const char* readOnlyTitle, const char* readOnlyMessage,
                      const char* diskFullMessage, const char* noPermissionMessage);
// Runs the "_Ok"/"_Cancel" confirmation with a warning icon; true only for "_Ok".
bool confirmDialog(const std::string& title, const std::string& markupMessage);
// Text from files or tools made safe to place inside Pango markup.
std::string markupEscape(const std::string& text);

// An entry that keeps only the first line of pasted text.
GtkWidget* singleLineEntry();
// A right-aligned row: label (child 1) and a 200-pixel entry (child 2).
GtkWidget* info_entry(const char* labelval);

// Sets up column colidx of the column list plist.
void addPlistCol(int colidx, int colwidth, const char* collbl, GtkWidget* plist, int visible,
                 GtkJustification jtf);
// First row whose cell in column equals findtext exactly, or -1.
int find_data(GtkWidget* printerlist, const char* findtext, int column);
// The text of one cell of a column list ("" for a missing row or cell).
std::string clistCell(GtkWidget* list, int row, int column);
// The texts of one column, top to bottom ("" for a cell without text), in one pass.
std::vector<std::string> clistColumn(GtkWidget* list, int column);
int clistRows(GtkWidget* list);

// The active text of a text combo box ("" when nothing is selected).
std::string comboActiveText(GtkWidget* combo);
// The text of an entry.
std::string entryText(GtkWidget* entry);

// Shows list's titles, gives it browse selection and selectRow (with data) as its "select_row"
// handler, and puts it in a new scrolled window that scrolls as needed, which it returns.
GtkWidget* scrolledBrowseList(GtkWidget* list, GCallback selectRow, gpointer data);
// Gives a window the program's icon; a missing icon file leaves it without one, silently.
void setWindowIcon(GtkWidget* window);

// A second window for editing: titled, centred, not resizable, with the icon, transient for the
// main window, which gets its sensitivity back however the editor goes away.
GtkWidget* newEditorWindow(const char* title, GtkWidget* mainWindow, guint borderWidth);

// "destroy" handler of the editor windows: gives the main window (data) its sensitivity back.
void nwindow_destroyed(GtkWidget* widget, gpointer data);
