#include "printers/test_print.h"

#include <unistd.h>

#include <cstdio>
#include <string>

#include "app/busy.h"
#include "app/files.h"
#include "app/i18n.h"
#include "app/shell.h"
#include "app/widgets.h"
#include "printers/listings.h"
#include "store/printer_table.h"
#include "store/spooler.h"

namespace {

const char* const kTestPage = "/etc/testpg.ascii";
// The printers' printcap while a test print has replaced it.
const char* const kPrintcapBeforeTest = "/etc/.printcap.before-test";

void reportTestResult(const std::string& listing) {
  if (const auto failure = testPrintFailure(listing)) {
    showMessageDialog(_("Error while printing 'Test Page'"), markupEscape(*failure),
                      "gtk-dialog-error");
  } else {
    showMessageDialog(_("Printing Confirmation"),
                      _("A Test Page has been sent to the printer.\nIt may take up to two "
                        "minutes before the test page is printed.\n\nIf the test page printed "
                        "correctly, please click Ok.\nOtherwise please check your "
                        "configuration."),
                      "gtk-dialog-info");
  }
  runCommand(lprmEverythingCommand());
}

}  // namespace

void printTestPage(GtkWidget* table, const TestPrinter& printer) {
  // Written aside first, so a crash before the restore below costs no printer.
  if (!replaceFile(kPrintcapBeforeTest, formatPrintcap(tableRows(table)))) return;
  if (!replaceFile(kPrintcapPath, formatTestPrintcap(printer))) {
    unlink(kPrintcapBeforeTest);
    return;
  }
  preparelpd();
  runCommand(lprCommand(kTestPage));
  busyWait(1000);  // gives the spooler a moment; the windows keep repainting meanwhile
  if (claimTempFile(kQueueListingPath)) runCommand(lpqCommand(printer.name));
  if (const auto listing = readWholeFile(kQueueListingPath, true)) reportTestResult(*listing);
  runCommand(std::string("rm ") + kQueueListingPath + " -f");
  writePrintcap(table);
  unlink(kPrintcapBeforeTest);
  preparelpd();
}

void recoverFromTestPrint() {
  if (pathExists(kPrintcapBeforeTest)) rename(kPrintcapBeforeTest, kPrintcapPath);
}
