// /etc/printcap and /etc/printers_info: the byte formats and their files.
#pragma once

#include <optional>
#include <string>
#include <vector>

#include "store/printer_table.h"

struct PrintcapParse {
  std::vector<PrinterRow> rows;
  // Reading stopped at an entry that gathered more than 680 characters; rows holds the
  // entries before it.
  bool stoppedAtOversizedEntry = false;
};

// Reads printcap text with the reader's limits (300-byte lines, 680 gathered characters).
PrintcapParse parsePrintcap(const std::string& text);
// The whole /etc/printcap for a table.
std::string formatPrintcap(const std::vector<PrinterRow>& rows);
// What the program writes back for the printers it reads in bytes.
std::string printcapAsWritten(const std::string& bytes);
// The whole /etc/printers_info for a table.
std::string formatPrintersInfo(const std::vector<PrinterRow>& rows);

// What "_Test" prints with: the edited printer alone, values from the editor.
struct TestPrinter {
  std::string name;
  std::string description;
  std::string type;    // as the saving checks set it; empty when no type was chosen
  std::string device;  // ditto
  std::string filter;  // the filter chooser's text
  std::string ppd;     // the PPD chooser's text
  std::string windowsDriver;
  bool formFeed = false;
};
// The one-printer printcap of a test print.
std::string formatTestPrintcap(const TestPrinter& printer);

extern const char* const kPrintcapPath;      // "/etc/printcap"
extern const char* const kPrintersInfoPath;  // "/etc/printers_info"

// /etc/printcap parsed, remembered for the FILE.orig copy of the first save; nothing when it
// cannot be read.
std::optional<PrintcapParse> readPrintcapFile();
// Replaces /etc/printcap and /etc/printers_info with the table's. False, with errno, when
// /etc/printcap could not be written (the side file is then left as it was).
bool writePrintcapFiles(const std::vector<PrinterRow>& rows);
