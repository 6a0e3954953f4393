#include "store/printcap.h"

#include <cstdio>
#include <cstdlib>
#include <optional>

#include "app/files.h"
#include "app/i18n.h"
#include "app/text.h"
#include "app/widgets.h"

const char* const kPrintcapPath = "/etc/printcap";
const char* const kPrintersInfoPath = "/etc/printers_info";

namespace {

// The reader's fixed buffers: what other tools of the system expect of a printcap line.
constexpr std::size_t kLineBuffer = 300;
constexpr std::size_t kEntryLimit = 680;

const char* const kFoomatic = "/usr/bin/foomatic-rip";
const char* const kLineTrim = " \n\r\t";

// ---- Reading ----

bool isComment(const std::string& line) {
  return !line.empty() && (line[0] == '#' || line[0] == ';');
}

// Fields split strtok-style: runs of ':' are one separator, empty fields vanish.
std::vector<std::string> entryFields(const std::string& entry) {
  std::vector<std::string> fields;
  std::size_t pos = 0;
  while (pos < entry.size()) {
    const std::size_t colon = entry.find(':', pos);
    const std::size_t end = colon == std::string::npos ? entry.size() : colon;
    if (end > pos) fields.push_back(entry.substr(pos, end - pos));
    pos = end + 1;
  }
  return fields;
}

PrinterRow parseEntry(const std::string& entry, const std::optional<std::string>& defaultName) {
  PrinterRow row;
  std::optional<std::string> device, remoteServer;
  std::string remoteQueue;
  const std::vector<std::string> fields = entryFields(entry);
  for (std::size_t i = 0; i < fields.size(); ++i) {
    const std::string& field = fields[i];
    if (i == 0) {
      row[kColName] = getstrbefore(field, "|");
      row[kColDescription] = getstrafter(field, "|");
      continue;
    }
    const std::string value = getstrafter(field, "=");
    if (startsWith(field, "lp")) device = value;
    if (startsWith(field, "rm")) remoteServer = value;
    if (startsWith(field, "rp")) remoteQueue = value;
    if (startsWith(field, "if")) row[kColFilter] = value;
    if (startsWith(field, "ppd")) row[kColPPD] = value;
    if (startsWith(field, "wd")) row[kColWD] = value;
    if (startsWith(field, "fq", true)) row[kColFQ] = "YES";
  }
  if (device) {
    row[kColDevice] = *device;
    if (startsWith(*device, "/dev/lp")) {
      row[kColType] = kTypeParallel;
    } else if (startsWith(*device, "/dev/usb/lp")) {
      row[kColType] = kTypeUSB;
    } else if (startsWith(*device, "/dev/ttyS")) {
      row[kColType] = kTypeSerial;
    } else {
      row[kColType] = kTypeSamba;
    }
  } else if (remoteServer) {
    row[kColType] = kTypeNetwork;
    row[kColDevice] = remoteQueue + "@" + *remoteServer;
  } else {
    row[kColType] = kTypeUnknown;
  }
  if (defaultName && *defaultName == row[kColName]) row[kColDefault] = "Yes";
  return row;
}

// ---- Writing: one function per line template, shared by the full and the test printcap ----

std::string continued(const std::string& capability) {
  return "\t:" + capability + ":\\\n";
}

std::string nameLine(const std::string& name, const std::string& description) {
  return name + (description.empty() ? ":\\\n" : "|" + description + ":\\\n");
}
std::string rwLine() {
  return continued("rw");
}

std::string deviceLines(const std::string& type, const std::string& device) {
  if (equalsIgnoreCase(type, kTypeParallel) || equalsIgnoreCase(type, kTypeUSB) ||
      equalsIgnoreCase(type, kTypeSerial) || equalsIgnoreCase(type, kTypeSamba)) {
    return continued("lp=" + device);
  }
  if (equalsIgnoreCase(type, kTypeNetwork)) {
    return continued("rp=" + getstrbefore(device, "@")) +
           continued("rm=" + getstrafter(device, "@"));
  }
  return std::string();
}

std::string spoolLines(const std::string& name) {
  return continued("sd=/var/spool/lpd/" + name) + continued("lf=/var/spool/lpd/" + name + "/log") +
         continued("af=/var/spool/lpd/" + name + "/acct");
}

std::string filterLines(const std::string& filter, const std::string& ppd) {
  if (equalsIgnoreCase(filter, kFoomatic)) {
    if (equalsIgnoreCase(ppd, "None")) return std::string();
    return continued("if=" + filter) + continued("ppd=" + ppd);
  }
  if (equalsIgnoreCase(filter, "None")) return std::string();
  return continued("if=" + filter);
}

std::string wdLine(const std::string& wd) {
  return wd.empty() ? std::string() : continued("wd=" + wd);
}
std::string cmLine() {
  return continued("cm=lpdfilter drv=upp method=auto color=auto");
}
std::string mxLine() {
  return continued("mx=0");
}
std::string fqLine(bool formFeed) {
  return formFeed ? continued("fq") : std::string();
}
std::string shLine() {
  return continued("sh");
}
std::string sfLine() {
  return "\t:sf:\n";
}

// The name of the first row marked "Yes" (exact case, as the table is kept).
std::optional<std::string> defaultPrinterName(const std::vector<PrinterRow>& rows) {
  for (const PrinterRow& row : rows) {
    if (row[kColDefault] == "Yes") return row[kColName];
  }
  return std::nullopt;
}

std::string printersInfoDevicePiece(const PrinterRow& row) {
  const std::string& type = row[kColType];
  if (equalsIgnoreCase(type, kTypeParallel) || equalsIgnoreCase(type, kTypeUSB) ||
      equalsIgnoreCase(type, kTypeSerial)) {
    return "," + row[kColDevice];
  }
  if (equalsIgnoreCase(type, kTypeNetwork) || equalsIgnoreCase(type, kTypeSamba)) return ",";
  return std::string();
}

}  // namespace

PrintcapParse parsePrintcap(const std::string& text) {
  PrintcapParse result;
  const std::vector<std::string> pieces = fixedBufferLines(text, kLineBuffer);
  std::optional<std::string> defaultName;
  std::size_t next = 0;
  auto readLine = [&](std::string& line) {
    if (next >= pieces.size()) return false;
    // The same trim as strmakeup, without its intermediate copies: a printcap can be long.
    const std::string& piece = pieces[next++];
    const std::size_t first = piece.find_first_not_of(kLineTrim);
    if (first == std::string::npos) {
      line.clear();
    } else {
      line.assign(piece, first, piece.find_last_not_of(kLineTrim) - first + 1);
    }
    return true;
  };
  std::string line;
  while (readLine(line)) {
    if (isComment(line)) continue;
    if (line.find(':') == std::string::npos && line.find('\\') == std::string::npos) {
      // Our own files hold no blank lines; a stray one must not unmark the default printer.
      if (!line.empty()) defaultName = line;
      continue;
    }
    std::string entry;
    bool reachedEnd = false;
    while (isComment(line) || (!line.empty() && line.back() == '\\')) {
      if (!isComment(line)) entry += line.substr(0, line.size() - 1);
      if (entry.size() > kEntryLimit) {
        result.stoppedAtOversizedEntry = true;
        return result;
      }
      if (!readLine(line)) {
        reachedEnd = true;
        break;
      }
    }
    // The last line loses its final character, normally the closing ':'.
    if (!reachedEnd && !line.empty()) entry += line.substr(0, line.size() - 1);
    result.rows.push_back(parseEntry(entry, defaultName));
  }
  return result;
}

std::string formatPrintcap(const std::vector<PrinterRow>& rows) {
  std::string out =
      "# This file is automatically generated by Kelvane Printer Manager.\n"
      "# All changes to this file will be lost.\n";
  if (const auto name = defaultPrinterName(rows)) out += *name + "\n";
  for (const PrinterRow& row : rows) {
    const std::string& name = row[kColName];
    out += nameLine(name, row[kColDescription]);
    out += rwLine();
    out += deviceLines(row[kColType], row[kColDevice]);
    out += spoolLines(name);
    out += filterLines(row[kColFilter], row[kColPPD]);
    out += wdLine(row[kColWD]);
    out += cmLine();
    out += mxLine();
    out += fqLine(equalsIgnoreCase(row[kColFQ], "YES"));
    out += shLine();
    out += sfLine();
  }
  return out;
}

std::string formatPrintersInfo(const std::vector<PrinterRow>& rows) {
  std::string out = "PRINTERS_NUMBER=" + std::to_string(rows.size()) + "\n";
  const auto defaultName = defaultPrinterName(rows);
  std::size_t defaultIndex = 0;
  for (std::size_t i = 0; i < rows.size(); ++i) {
    const PrinterRow& row = rows[i];
    const std::string number = std::to_string(i + 1);
    out += number + "=" + row[kColName] + printersInfoDevicePiece(row);
    out += row[kColWD].empty() ? ", \n" : "," + row[kColWD] + "\n";
    if (defaultName && *defaultName == row[kColName]) defaultIndex = i + 1;
  }
  if (defaultIndex != 0) out += "DEFAULT_PRINTER_INDEX=" + std::to_string(defaultIndex) + "\n";
  return out;
}

std::string formatTestPrintcap(const TestPrinter& printer) {
  const std::string& name = printer.name;
  // The chooser's text may differ in case; the spooler gets the filter's real path.
  const std::string filter =
      equalsIgnoreCase(printer.filter, kFoomatic) ? std::string(kFoomatic) : printer.filter;
  std::string out = name + "\n";
  out += nameLine(name, printer.description);
  out += rwLine();
  out += deviceLines(printer.type, printer.device);
  out += spoolLines(name);
  out += filterLines(filter, printer.ppd);
  out += wdLine(printer.windowsDriver);
  out += cmLine();
  out += fqLine(printer.formFeed);
  out += mxLine();
  out += shLine();
  out += sfLine();
  return out;
}

void readPrintcap(GtkWidget* printerlist) {
  const auto text = readWholeFile(kPrintcapPath);
  if (!text) return;
  const PrintcapParse parsed = parsePrintcap(*text);
  appendTableRows(printerlist, parsed.rows);
  if (parsed.stoppedAtOversizedEntry) {
    showMessageDialog(_("Error while reading /etc/printcap"),
                      _("Incorrect entry detected!\nPlease correct or delete the /etc/printcap "
                        "file first"),
                      "gtk-dialog-error");
  }
}

void writePrintcap(GtkWidget* prtlist) {
  const std::vector<PrinterRow> rows = tableRows(prtlist);
  if (!replaceFile(kPrintcapPath, formatPrintcap(rows))) {
    showMessageDialog(_("Error: Read only file system"),
                      _("Cannot write printcap!\nPlease make sure that your partition is not "
                        "mounted as read only"),
                      "gtk-dialog-error");
    std::fflush(stdout);
    std::exit(0);
  }
  // Only other programs read this side file; a failure here has no message of its own.
  replaceFile(kPrintersInfoPath, formatPrintersInfo(rows));
}
