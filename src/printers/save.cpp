#include "printers/save.h"

#include <optional>
#include <string>

#include "app/files.h"
#include "app/i18n.h"
#include "app/shell.h"
#include "app/text.h"
#include "app/widgets.h"
#include "find/replies.h"
#include "printers/editor_paths.h"
#include "printers/listings.h"
#include "printers/page_paths.h"
#include "printers/store_adapters.h"
#include "printers/test_print.h"
#include "store/printcap.h"
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

// A control byte (a pasted tab or line break, say) counts as a space: the values go into
// printcap fields and the Samba script's lines, which a blank or a line break would split.
bool hasBlankOrControl(const std::string& text) {
  return hasControlOr(text, ' ');
}

bool emptyOrHasSpace(const std::string& text) {
  return text.empty() || hasBlankOrControl(text);
}

// The test the share list of Browse... uses too, so it never offers what is refused here.
bool badShareName(const std::string& text) {
  return shareNameFault(text) != ShareNameFault::kNone;
}

// A ':' ends a printcap field early and a control byte splits its line: the printer would read
// back as another one.
bool hasColonOrControl(const std::string& text) {
  return hasControlOr(text, ':');
}

bool badPrinterName(const std::string& name) {
  return is_invalid(name.c_str(), kInvalidPrinterNameChars) || hasBlankOrControl(name);
}

// One entry row's check: its fault test and the refusal (untranslated) naming the field.
struct FieldCheck {
  InfoRow row;
  bool (*faulty)(const std::string&);
  const char* message;
};

// Refuses the first fault among checks, in their order; true when all pass.
bool fieldsPass(GtkWidget* infoBox, std::initializer_list<FieldCheck> checks) {
  for (const FieldCheck& check : checks) {
    if (check.faulty(fieldText(infoBox, check.row))) {
      refuse(_(check.message));
      return false;
    }
  }
  return true;
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
  if (!fieldsPass(
          infoBox,
          {{kRowServer, emptyOrHasSpace, N_("LPD Server should not be empty nor contain space!")},
           {kRowServer, hasColonOrControl,
            N_("LPD Server should not contain ':' or control characters!")},
           {kRowShared, emptyOrHasSpace, N_("Queue Name should not be empty nor contain space!")},
           {kRowShared, hasColonOrControl,
            N_("Queue Name should not contain ':' or control characters!")}})) {
    return std::nullopt;
  }
  const std::string device = fieldText(infoBox, kRowShared) + "@" + fieldText(infoBox, kRowServer);
  return CheckedPrinter{"", kTypeNetwork, device};
}

std::optional<CheckedPrinter> checkSamba(GtkWidget* infoBox, const std::string& name) {
  if (!fieldsPass(
          infoBox,
          {{kRowServer, emptyOrHasSpace, N_("Samba Server should not be empty nor contain space!")},
           {kRowShared, badShareName, N_("Shared Printer should not be empty nor contain space!")},
           {kRowSmbUser, hasBlankOrControl, N_("User Name should not contain space!")},
           {kRowSmbPassword, hasBlankOrControl, N_("Password should not contain space!")},
           {kRowSmbWorkgroup, hasBlankOrControl, N_("Workgroup should not contain space!")}})) {
    return std::nullopt;
  }
  return CheckedPrinter{"", kTypeSamba, "|" + sambaScriptPath(name)};
}

std::optional<CheckedPrinter> checkType(GtkWidget* windowBox, const std::string& name) {
  GtkWidget* infoBox = printerInfoBoxOf(windowBox);
  GtkWidget* typeBox = printerTypeBoxOf(windowBox);
  if (isActive(typeButtonOf(typeBox, kParallel))) return checkLocal(infoBox, kTypeParallel);
  if (isActive(typeButtonOf(typeBox, kSerial))) return checkLocal(infoBox, kTypeSerial);
  if (isActive(typeButtonOf(typeBox, kUSB))) return checkLocal(infoBox, kTypeUSB);
  if (isActive(typeButtonOf(typeBox, kNetwork))) return checkNetwork(infoBox);
  if (isActive(typeButtonOf(typeBox, kSamba))) return checkSamba(infoBox, name);
  return CheckedPrinter{};  // no type chosen: type and device stay empty
}

// The checks shared by "_Ok" and "_Test", row by row from the top; the first fault is refused.
// Only when all pass is anything written: a Samba printer's script, for "_Ok" and "_Test" alike.
std::optional<CheckedPrinter> checkFields(GtkWidget* windowBox, GtkWidget* table,
                                          const std::string& title) {
  GtkWidget* infoBox = printerInfoBoxOf(windowBox);
  const std::string name = fieldText(infoBox, kRowName);
  if (badPrinterName(name)) {
    refuse(_("Printer Name should only be alphanumeric with no space!"));
    return std::nullopt;
  }
  if (find_data(table, name.c_str(), kColName) != -1 &&
      !equalsIgnoreCase(title, _("Modify Printer"))) {
    refuse(formatted(_("The printer name '%s' already exists!"), markupEscape(name)));
    return std::nullopt;
  }
  if (!fieldsPass(infoBox, {{kRowDescription, hasColonOrControl,
                             N_("Description should not contain ':' or control characters!")}})) {
    return std::nullopt;
  }
  std::optional<CheckedPrinter> checked = checkType(windowBox, name);
  if (!checked || !fieldsPass(infoBox, {{kRowDriver, hasColonOrControl,
                                         N_("Windows Driver should not contain ':' or control "
                                            "characters!")}})) {
    return std::nullopt;
  }
  if (checked->type == kTypeSamba) writeSamba(infoBox);
  checked->name = name;
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
  // TRANSLATORS: "Test" is "_Test" without its mnemonic.
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
