#include "printers/save.h"

#include <optional>
#include <string>

#include "app/files.h"
#include "app/i18n.h"
#include "app/shell.h"
#include "app/text.h"
#include "app/widgets.h"
#include "printers/editor.h"
#include "printers/listings.h"
#include "printers/printers_page.h"
#include "printers/test_print.h"
#include "store/printcap.h"
#include "store/printer_table.h"
#include "store/samba.h"
#include "store/spooler.h"

namespace {

// What the checks found: the printer's type word and device.
struct CheckedPrinter {
  std::string name;
  std::string type;
  std::string device;
};

void refuse(const std::string& message) {
  showMessageDialog(_("Error!"), message, "gtk-dialog-error");
}

bool isActive(GtkWidget* toggle) {
  return gtk_toggle_button_get_active(GTK_TOGGLE_BUTTON(toggle)) != FALSE;
}

std::string fieldText(GtkWidget* infoBox, InfoRow row) {
  return entryText(infoFieldOf(infoBox, row));
}

bool emptyOrHasSpace(const std::string& text) {
  return text.empty() || text.find(' ') != std::string::npos;
}

// The Samba script's smbclient line would split these values at a blank or a control byte.
bool hasBlankOrControl(const std::string& text) {
  for (unsigned char c : text) {
    if (c == ' ' || c == '\t' || c < 0x20 || c == 0x7f) return true;
  }
  return false;
}

std::string withName(const char* translatedFormat, const std::string& name) {
  return takeGStr(g_strdup_printf(translatedFormat, name.c_str())).get();
}

// The device chooser's port for the three local types; nothing when none is selected.
std::optional<CheckedPrinter> checkLocal(GtkWidget* infoBox, const char* type) {
  const std::string device = comboActiveText(infoFieldOf(infoBox, kRowDevice));
  if (device.empty()) {
    refuse(_("Device Port is invalid!\nPlease make sure that the printer is properly connected"));
    return std::nullopt;
  }
  return CheckedPrinter{"", type, device};
}

std::optional<CheckedPrinter> checkNetwork(GtkWidget* infoBox) {
  const std::string server = fieldText(infoBox, kRowServer);
  const std::string queue = fieldText(infoBox, kRowShared);
  if (emptyOrHasSpace(server)) {
    refuse(_("LPD Server should not be empty nor contain space!"));
    return std::nullopt;
  }
  if (emptyOrHasSpace(queue)) {
    refuse(_("Queue Name should not be empty nor contain space!"));
    return std::nullopt;
  }
  return CheckedPrinter{"", kTypeNetwork, queue + "@" + server};
}

// Writes the printer's Samba script as soon as its fields pass, for "_Ok" and "_Test" alike.
std::optional<CheckedPrinter> checkSamba(GtkWidget* infoBox, const std::string& name) {
  struct Check {
    InfoRow row;
    bool (*faulty)(const std::string&);
    const char* message;
  };
  const Check checks[] = {
      {kRowServer, emptyOrHasSpace, N_("Samba Server should not be empty nor contain space!")},
      {kRowShared, emptyOrHasSpace, N_("Shared Printer should not be empty nor contain space!")},
      {kRowSmbUser, hasBlankOrControl, N_("User Name should not contain space!")},
      {kRowSmbPassword, hasBlankOrControl, N_("Password should not contain space!")},
      {kRowSmbWorkgroup, hasBlankOrControl, N_("Workgroup should not contain space!")},
  };
  for (const Check& check : checks) {
    if (check.faulty(fieldText(infoBox, check.row))) {
      refuse(_(check.message));
      return std::nullopt;
    }
  }
  writeSamba(infoBox);
  return CheckedPrinter{"", kTypeSamba, "|" + sambaScriptPath(name)};
}

// The checks shared by "_Ok" and "_Test", in order; the first fault is refused.
std::optional<CheckedPrinter> checkFields(GtkWidget* windowBox, GtkWidget* table,
                                          const std::string& title) {
  GtkWidget* infoBox = printerInfoBoxOf(windowBox);
  GtkWidget* typeBox = printerTypeBoxOf(windowBox);
  const std::string name = fieldText(infoBox, kRowName);
  if (is_invalid(name.c_str(), kInvalidPrinterNameChars)) {
    refuse(_("Printer Name should only be alphanumeric with no space!"));
    return std::nullopt;
  }
  if (find_data(table, name.c_str(), kColName) != -1 &&
      !equalsIgnoreCase(title, _("Modify Printer"))) {
    refuse(withName(_("The printer name '%s' already exists!"), markupEscape(name)));
    return std::nullopt;
  }
  std::optional<CheckedPrinter> checked;
  if (isActive(typeButtonOf(typeBox, kParallel))) {
    checked = checkLocal(infoBox, kTypeParallel);
  } else if (isActive(typeButtonOf(typeBox, kSerial))) {
    checked = checkLocal(infoBox, kTypeSerial);
  } else if (isActive(typeButtonOf(typeBox, kUSB))) {
    checked = checkLocal(infoBox, kTypeUSB);
  } else if (isActive(typeButtonOf(typeBox, kNetwork))) {
    checked = checkNetwork(infoBox);
  } else if (isActive(typeButtonOf(typeBox, kSamba))) {
    checked = checkSamba(infoBox, name);
  } else {
    checked = CheckedPrinter{};  // no type chosen: type and device stay empty
  }
  if (checked) checked->name = name;
  return checked;
}

// The printer row "_Ok" stores.
PrinterRow newPrinterRow(GtkWidget* infoBox, const CheckedPrinter& printer) {
  const std::string filter = comboActiveText(infoFieldOf(infoBox, kRowFilter));
  const std::string ppd = comboActiveText(infoFieldOf(infoBox, kRowPPD));
  const bool filterIsNone = equalsIgnoreCase(filter, "None");
  const bool ppdInUse = !filterIsNone && gtk_widget_get_sensitive(infoRowOf(infoBox, kRowPPD)) &&
                        !equalsIgnoreCase(ppd, "None");
  PrinterRow row;
  row[kColDefault] = isActive(makeDefaultCheckOf(infoBox)) ? "Yes" : "";
  row[kColName] = printer.name;
  row[kColDescription] = fieldText(infoBox, kRowDescription);
  row[kColType] = printer.type;
  row[kColDevice] = printer.device;
  row[kColFilter] = filterIsNone ? "" : filter;
  row[kColPPD] = ppdInUse ? ppd : "";
  row[kColWD] = fieldText(infoBox, kRowDriver);
  row[kColFQ] = isActive(formFeedCheckOf(infoBox)) ? "YES" : "NO";
  return row;
}

void savePrinter(GtkWidget* button, GtkWidget* table, const std::string& title,
                 const CheckedPrinter& printer) {
  GtkWidget* infoBox = printerInfoBoxOf(windowBoxOfButton(button));
  const PrinterRow row = newPrinterRow(infoBox, printer);
  if (row[kColDefault] == "Yes") {
    const int oldDefault = find_data(table, "Yes", kColDefault);
    if (oldDefault != -1) gtk_clist_set_text(GTK_CLIST(table), oldDefault, kColDefault, "");
  }
  const bool replacesARow =
      !equalsIgnoreCase(title, _("Add New Printer")) && row_n >= 0 && row_n < clistRows(table);
  if (replacesARow) {
    setTableRow(table, row_n, row);
  } else {
    appendTableRows(table, {row});
  }
  writePrintcap(table);
  preparelpd();
  syncModifyDeleteSensitivity(ancestor(table, 2));
  gtk_widget_destroy(editorWindowOf(button));
}

TestPrinter testPrinterOf(GtkWidget* infoBox, const CheckedPrinter& printer) {
  TestPrinter test;
  test.name = printer.name;
  test.description = fieldText(infoBox, kRowDescription);
  test.type = printer.type;
  test.device = printer.device;
  test.filter = comboActiveText(infoFieldOf(infoBox, kRowFilter));
  test.ppd = comboActiveText(infoFieldOf(infoBox, kRowPPD));
  test.windowsDriver = fieldText(infoBox, kRowDriver);
  test.formFeed = isActive(formFeedCheckOf(infoBox));
  return test;
}

bool isTestButton(GtkWidget* button) {
  const char* label = gtk_button_get_label(GTK_BUTTON(button));
  const std::string text = label != nullptr ? label : "";
  return equalsIgnoreCase(text, _("_Test")) || equalsIgnoreCase(text, _("Test"));
}

}  // namespace

void BtnPrintOkTest_clicked(GtkWidget* widget, gpointer data) {
  GtkWidget* table = GTK_WIDGET(data);
  const std::string title = gtk_window_get_title(GTK_WINDOW(editorWindowOf(widget)));
  const auto printer = checkFields(windowBoxOfButton(widget), table, title);
  if (!printer) return;
  if (isTestButton(widget)) {
    printTestPage(table, testPrinterOf(printerInfoBoxOf(windowBoxOfButton(widget)), *printer));
  } else {
    savePrinter(widget, table, title, *printer);
  }
}
