#include "printers/test_print.h"

#include <unistd.h>

#include <cstdio>
#include <filesystem>
#include <optional>
#include <string>

#include "app/busy.h"
#include "app/child.h"
#include "app/files.h"
#include "app/i18n.h"
#include "app/shell.h"
#include "app/text.h"
#include "app/widgets.h"
#include "printers/listings.h"
#include "printers/store_adapters.h"
#include "store/spooler.h"

namespace {

const char* const kTestPage = "/etc/testpg.ascii";

// Where the printcap really lives: beside it the printers' printcap waits while a test print
// has replaced it (a link's folder may be read-only on a thin client).
std::string printcapFolder() {
  const std::optional<std::string> file = followLinks(kPrintcapPath);
  return std::filesystem::path(file.value_or(kPrintcapPath)).parent_path();
}
const char* const kPrintcapCopyName = "/.printcap.before-test";

// After the answer the test page leaves its queue, printed or not; every other job stays.
void reportTestResult(const std::string& printer, const std::string& listing) {
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
  for (const std::string& job : jobsOfFile(listing, kTestPage)) {
    runCommand(lprmJobCommand(printer, job));
  }
}

// The queue listing as a watched child, waited for under the busy window: a host that does not
// answer within the limit fails the test in words instead of holding the editor.
ChildResult listTestQueue(const std::string& name) {
  ChildResult result;
  bool ended = false;
  const auto run =
      ChildRun::start(lpqCommand(name), kQueueListingPath, [&](const ChildResult& listed) {
        result = listed;
        ended = true;
      });
  busyWaitUntil(ended);
  return result;
}

void checkTestQueue(const TestPrinter& printer) {
  const ChildResult listed = listTestQueue(printer.name);
  if (listed.end == ChildEnd::kTimedOut) {
    showMessageDialog(_("Error while printing 'Test Page'"),
                      markupEscape(noAnswerText(networkHost(printer.type, printer.device))),
                      "gtk-dialog-error");
  } else if (listed.output) {
    reportTestResult(printer.name, *listed.output);
  }
}

}  // namespace

void printTestPage(GtkWidget* table, const TestPrinter& printer) {
  // Written aside first, so a crash before the restore below costs no printer. A folder that
  // takes no new file (a read-only /etc with the printcap mounted into it) goes without.
  const std::string folder = printcapFolder();
  const std::string copy = folder + kPrintcapCopyName;
  const bool canCopy = access(folder.c_str(), W_OK) == 0;
  if (canCopy && !replaceFile(copy, formatPrintcap(tableRows(table)))) return;
  if (!replaceFile(kPrintcapPath, formatTestPrintcap(printer))) {
    unlink(copy.c_str());
    return;
  }
  preparelpd();
  runCommand(lprCommand(kTestPage));
  busyWait(1000);  // gives the spooler a moment; the windows keep repainting meanwhile
  checkTestQueue(printer);
  writePrintcap(table);
  unlink(copy.c_str());
  preparelpd();
}

void recoverFromTestPrint() {
  // Through replaceFile, so a linked or mounted printcap stays where it lives.
  const std::string copy = printcapFolder() + kPrintcapCopyName;
  const std::optional<std::string> saved = readWholeFile(copy, true);
  if (saved && replaceFile(kPrintcapPath, *saved)) unlink(copy.c_str());
}
