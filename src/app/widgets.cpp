#include "app/widgets.h"

#include <cerrno>

#include "app/files.h"
#include "app/i18n.h"

GtkWidget* findWidget(GtkWidget* parent, GtkWidget* /*widget*/, int child_number) {
  GList* children = gtk_container_get_children(GTK_CONTAINER(parent));
  GList* element = children;
  for (int i = 1; i < child_number && element != nullptr && element->next != nullptr; ++i) {
    element = element->next;
  }
  GtkWidget* child = element != nullptr ? GTK_WIDGET(element->data) : nullptr;
  g_list_free(children);
  return child;
}

GtkWidget* widgetAt(GtkWidget* parent, std::initializer_list<int> path) {
  GtkWidget* widget = parent;
  for (int index : path) widget = findWidget(widget, nullptr, index);
  return widget;
}

GtkWidget* ancestor(GtkWidget* widget, int n) {
  for (int i = 0; i < n && widget != nullptr; ++i) widget = gtk_widget_get_parent(widget);
  return widget;
}

GtkWidget* customDialog(const char* title, const char* message, const char* iconname) {
  GtkWidget* dialog = gtk_dialog_new_with_buttons(title, nullptr, GTK_DIALOG_DESTROY_WITH_PARENT,
                                                  _("_Ok"), GTK_RESPONSE_ACCEPT, nullptr);
  GtkWidget* label = gtk_label_new(message);
  gtk_label_set_use_markup(GTK_LABEL(label), TRUE);
  GtkWidget* image = gtk_image_new_from_stock(iconname, GTK_ICON_SIZE_DIALOG);
  GtkWidget* hbox = gtk_hbox_new(FALSE, 10);
  gtk_window_set_position(GTK_WINDOW(dialog), GTK_WIN_POS_CENTER_ALWAYS);
  gtk_box_pack_start(GTK_BOX(GTK_DIALOG(dialog)->vbox), hbox, TRUE, TRUE, 15);
  gtk_box_pack_start(GTK_BOX(hbox), image, FALSE, FALSE, 5);
  gtk_box_pack_start(GTK_BOX(hbox), label, FALSE, FALSE, 5);
  gtk_widget_show_all(hbox);
  return dialog;
}

void showMessageDialog(const std::string& title, const std::string& message, const char* iconname) {
  GtkWidget* dialog = customDialog(title.c_str(), message.c_str(), iconname);
  gtk_dialog_run(GTK_DIALOG(dialog));
  gtk_widget_destroy(dialog);
}

void showWriteFailure(int error, const char* readOnlyTitle, const char* readOnlyMessage,
                      const char* diskFullMessage, const char* noPermissionMessage) {
  if (isDiskFull(error)) {
    showMessageDialog(_("Error: Disk full"), diskFullMessage, "gtk-dialog-error");
  } else if (error == EACCES || error == EPERM) {
    showMessageDialog(_("Error: Permission denied"), noPermissionMessage, "gtk-dialog-error");
  } else {
    showMessageDialog(readOnlyTitle, readOnlyMessage, "gtk-dialog-error");
  }
}

bool confirmDialog(const std::string& title, const std::string& markupMessage) {
  GtkWidget* dialog =
      gtk_dialog_new_with_buttons(title.c_str(), nullptr, GTK_DIALOG_DESTROY_WITH_PARENT, _("_Ok"),
                                  GTK_RESPONSE_ACCEPT, _("_Cancel"), GTK_RESPONSE_REJECT, nullptr);
  gtk_window_set_position(GTK_WINDOW(dialog), GTK_WIN_POS_CENTER_ALWAYS);
  GtkWidget* hbox = gtk_hbox_new(FALSE, 10);
  gtk_box_pack_start(GTK_BOX(GTK_DIALOG(dialog)->vbox), hbox, TRUE, TRUE, 15);
  gtk_box_pack_start(GTK_BOX(hbox),
                     gtk_image_new_from_stock(GTK_STOCK_DIALOG_WARNING, GTK_ICON_SIZE_DIALOG),
                     FALSE, FALSE, 5);
  GtkWidget* label = gtk_label_new(markupMessage.c_str());
  gtk_label_set_use_markup(GTK_LABEL(label), TRUE);
  gtk_box_pack_start(GTK_BOX(hbox), label, FALSE, FALSE, 5);
  gtk_widget_show_all(hbox);
  const bool accepted = gtk_dialog_run(GTK_DIALOG(dialog)) == GTK_RESPONSE_ACCEPT;
  gtk_widget_destroy(dialog);
  return accepted;
}

std::string markupEscape(const std::string& text) {
  // Text from files and tools may be any bytes; markup that is not UTF-8 is refused whole, so
  // invalid sequences become U+FFFD first. A NUL byte ends the text, as it would in C.
  const GStr valid = takeGStr(g_utf8_make_valid(text.c_str(), -1));
  return takeGStr(g_markup_escape_text(valid.get(), -1)).get();
}

GtkWidget* singleLineEntry() {
  GtkWidget* entry = gtk_entry_new();
  // A line break pasted into a value would split the line of the file it goes into.
  g_object_set(entry, "truncate-multiline", TRUE, nullptr);
  return entry;
}

GtkWidget* info_entry(const char* labelval) {
  GtkWidget* hbox = gtk_hbox_new(FALSE, 0);
  GtkWidget* label = gtk_label_new(labelval);
  GtkWidget* entry = singleLineEntry();
  gtk_widget_set_size_request(entry, 200, -1);
  gtk_box_pack_end(GTK_BOX(hbox), entry, FALSE, FALSE, 10);
  gtk_box_pack_end(GTK_BOX(hbox), label, FALSE, FALSE, 10);
  return hbox;
}

void addPlistCol(int colidx, int colwidth, const char* collbl, GtkWidget* plist, int visible,
                 GtkJustification jtf) {
  GtkWidget* label = gtk_label_new(collbl);
  gtk_clist_set_column_widget(GTK_CLIST(plist), colidx, label);
  // A translated title may be longer than the column laid out for the English one; the column
  // widens to show it whole (the list scrolls) rather than cut it.
  GtkRequisition title;
  gtk_widget_size_request(GTK_CLIST(plist)->column[colidx].button, &title);
  const int kTitleMargins = 7;  // the list's cell spacing and column insets around a title
  if (visible != 0) colwidth = MAX(colwidth, title.width - kTitleMargins);
  gtk_clist_set_column_width(GTK_CLIST(plist), colidx, colwidth);
  gtk_clist_set_column_justification(GTK_CLIST(plist), colidx, jtf);
  if (visible == 0) gtk_clist_set_column_visibility(GTK_CLIST(plist), colidx, FALSE);
}

int clistRows(GtkWidget* list) {
  return GTK_CLIST(list)->rows;
}

std::string clistCell(GtkWidget* list, int row, int column) {
  gchar* text = nullptr;
  if (row < 0 || row >= clistRows(list)) return std::string();
  if (!gtk_clist_get_text(GTK_CLIST(list), row, column, &text) || text == nullptr) {
    return std::string();
  }
  return text;  // borrowed from the list
}

// Row by row along the list's own chain: asking for cell (row, column) walks the chain from
// its start each time, which made whole-table reads quadratic in the number of printers.
std::vector<std::string> clistColumn(GtkWidget* list, int column) {
  GtkCList* clist = GTK_CLIST(list);
  std::vector<std::string> cells;
  if (column < 0 || column >= clist->columns) return cells;
  cells.reserve(static_cast<std::size_t>(clist->rows));
  for (GList* link = clist->row_list; link != nullptr; link = link->next) {
    const GtkCListRow* row = static_cast<const GtkCListRow*>(link->data);
    const GtkCell& cell = row->cell[column];
    const gchar* text = cell.type == GTK_CELL_TEXT ? GTK_CELL_TEXT(cell)->text : nullptr;
    cells.emplace_back(text != nullptr ? text : "");
  }
  return cells;
}

int find_data(GtkWidget* printerlist, const char* findtext, int column) {
  const std::vector<std::string> cells = clistColumn(printerlist, column);
  for (std::size_t row = 0; row < cells.size(); ++row) {
    if (cells[row] == findtext) return static_cast<int>(row);
  }
  return -1;
}

std::string comboActiveText(GtkWidget* combo) {
  GStr text = takeGStr(gtk_combo_box_get_active_text(GTK_COMBO_BOX(combo)));
  return text ? std::string(text.get()) : std::string();
}

std::string entryText(GtkWidget* entry) {
  return gtk_entry_get_text(GTK_ENTRY(entry));
}

GtkWidget* scrolledBrowseList(GtkWidget* list, GCallback selectRow, gpointer data) {
  gtk_clist_column_titles_show(GTK_CLIST(list));
  gtk_clist_set_selection_mode(GTK_CLIST(list), GTK_SELECTION_BROWSE);
  g_signal_connect(list, "select_row", selectRow, data);
  GtkWidget* scrolled = gtk_scrolled_window_new(nullptr, nullptr);
  gtk_scrolled_window_set_policy(GTK_SCROLLED_WINDOW(scrolled), GTK_POLICY_AUTOMATIC,
                                 GTK_POLICY_AUTOMATIC);
  gtk_container_add(GTK_CONTAINER(scrolled), list);
  return scrolled;
}

void setWindowIcon(GtkWidget* window) {
  GError* error = nullptr;  // taken so the toolkit does not print a warning
  if (!gtk_window_set_icon_from_file(GTK_WINDOW(window), "/usr/share/pixmaps/quillan16.png",
                                     &error)) {
    g_clear_error(&error);
  }
}

GtkWidget* newEditorWindow(const char* title, GtkWidget* mainWindow, guint borderWidth) {
  GtkWidget* window = gtk_window_new(GTK_WINDOW_TOPLEVEL);
  gtk_window_set_title(GTK_WINDOW(window), title);
  gtk_window_set_position(GTK_WINDOW(window), GTK_WIN_POS_CENTER_ALWAYS);
  gtk_container_set_border_width(GTK_CONTAINER(window), borderWidth);
  setWindowIcon(window);
  gtk_window_set_transient_for(GTK_WINDOW(window), GTK_WINDOW(mainWindow));
  gtk_window_set_resizable(GTK_WINDOW(window), FALSE);
  g_signal_connect(window, "destroy", G_CALLBACK(nwindow_destroyed), mainWindow);
  return window;
}

void nwindow_destroyed(GtkWidget* /*widget*/, gpointer data) {
  gtk_widget_set_sensitive(GTK_WIDGET(data), TRUE);
}
