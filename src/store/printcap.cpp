#include "store/printcap.h"

#include <optional>
#include <string_view>
#include <utility>

#include "app/files.h"
#include "app/text.h"

const char* const kPrintcapPath = "/etc/printcap";
const char* const kPrintersInfoPath = "/etc/printers_info";

namespace {

// The reader's fixed buffers: what other tools of the system expect of a printcap line.
constexpr std::size_t kLineBuffer = 300;
constexpr std::size_t kEntryLimit = 680;

const char* const kFoomatic = "/usr/bin/foomatic-rip";

// ---- Reading ----
// Views into the text throughout: a printcap may hold thousands of entries, and only the
// cells of a row are ever copied.

bool isComment(std::string_view line) {
  return !line.empty() && (line[0] == '#' || line[0] == ';');
}

bool hasPrefix(std::string_view text, std::string_view prefix) {
  return text.substr(0, prefix.size()) == prefix;
}

std::string_view after(std::string_view text, char delimiter) {
  const auto p = text.find(delimiter);
  return p == std::string_view::npos ? std::string_view() : text.substr(p + 1);
}

std::string_view before(std::string_view text, char delimiter) {
  return text.substr(0, text.find(delimiter));
}

bool isLineTrim(char c) {
  return c == ' ' || c == '\n' || c == '\r' || c == '\t';
}

// Trimmed of blanks and line ends at both ends; a plain loop, as lines are short.
std::string_view trimmed(std::string_view piece) {
  std::size_t first = 0, end = piece.size();
  while (first < end && isLineTrim(piece[first])) ++first;
  while (end > first && isLineTrim(piece[end - 1])) --end;
  return piece.substr(first, end - first);
}

// Fields split strtok-style: runs of ':' are one separator, empty fields vanish.
PrinterRow parseEntry(std::string_view entry, std::optional<std::string_view> defaultName) {
  PrinterRow row;
  std::optional<std::string_view> device, remoteServer;
  std::string_view remoteQueue;
  bool first = true;
  for (std::size_t pos = 0; pos < entry.size();) {
    const std::size_t colon = entry.find(':', pos);
    const std::size_t end = colon == std::string_view::npos ? entry.size() : colon;
    const std::string_view field = entry.substr(pos, end - pos);
    pos = end + 1;
    if (field.empty()) continue;
    if (first) {
      first = false;
      row[kColName] = before(field, '|');
      row[kColDescription] = after(field, '|');
      continue;
    }
    // Keys are told apart by their first bytes (a prefix match, as the fields were always read).
    const std::string_view value = after(field, '=');
    const char a = field[0], b = field.size() > 1 ? field[1] : '\0';
    if (a == 'l' && b == 'p') device = value;
    if (a == 'r' && b == 'm') remoteServer = value;
    if (a == 'r' && b == 'p') remoteQueue = value;
    if (a == 'i' && b == 'f') row[kColFilter] = value;
    if (a == 'p' && b == 'p' && field.size() > 2 && field[2] == 'd') row[kColPPD] = value;
    if (a == 'w' && b == 'd') row[kColWD] = value;
    if ((a | 0x20) == 'f' && (b | 0x20) == 'q') row[kColFQ] = "YES";
  }
  if (device) {
    row[kColDevice] = *device;
    if (hasPrefix(*device, "/dev/lp")) {
      row[kColType] = kTypeParallel;
    } else if (hasPrefix(*device, "/dev/usb/lp")) {
      row[kColType] = kTypeUSB;
    } else if (hasPrefix(*device, "/dev/ttyS")) {
      row[kColType] = kTypeSerial;
    } else {
      row[kColType] = kTypeSamba;
    }
  } else if (remoteServer) {
    row[kColType] = kTypeNetwork;
    std::string& cell = row[kColDevice];
    cell.reserve(remoteQueue.size() + 1 + remoteServer->size());
    cell.append(remoteQueue).append(1, '@').append(*remoteServer);
  } else {
    row[kColType] = kTypeUnknown;
  }
  if (defaultName && *defaultName == row[kColName]) row[kColDefault] = "Yes";
  return row;
}

// ---- Writing: one function per line template, shared by the full and the test printcap ----
// Each appends to out: a long table is written without a temporary per line.

void continued(std::string& out, std::string_view capability, std::string_view value = {},
               std::string_view suffix = {}) {
  out.append("\t:").append(capability).append(value).append(suffix).append(":\\\n");
}

void nameLine(std::string& out, const std::string& name, const std::string& description) {
  out += name;
  if (!description.empty()) out.append(1, '|').append(description);
  out += ":\\\n";
}
void rwLine(std::string& out) {
  continued(out, "rw");
}

void deviceLines(std::string& out, const std::string& type, const std::string& device) {
  if (equalsIgnoreCase(type, kTypeParallel) || equalsIgnoreCase(type, kTypeUSB) ||
      equalsIgnoreCase(type, kTypeSerial) || equalsIgnoreCase(type, kTypeSamba)) {
    continued(out, "lp=", device);
  } else if (equalsIgnoreCase(type, kTypeNetwork)) {
    const std::string_view whole = device;
    const auto at = whole.find('@');
    continued(out, "rp=", whole.substr(0, at));
    continued(out, "rm=", at == std::string_view::npos ? std::string_view() : whole.substr(at + 1));
  }
}

void spoolLines(std::string& out, const std::string& name) {
  continued(out, "sd=/var/spool/lpd/", name);
  continued(out, "lf=/var/spool/lpd/", name, "/log");
  continued(out, "af=/var/spool/lpd/", name, "/acct");
}

void filterLines(std::string& out, const std::string& filter, const std::string& ppd) {
  if (equalsIgnoreCase(filter, kFoomatic)) {
    if (equalsIgnoreCase(ppd, "None")) return;
    continued(out, "if=", filter);
    continued(out, "ppd=", ppd);
    return;
  }
  if (!equalsIgnoreCase(filter, "None")) continued(out, "if=", filter);
}

void wdLine(std::string& out, const std::string& wd) {
  if (!wd.empty()) continued(out, "wd=", wd);
}
void cmLine(std::string& out) {
  continued(out, "cm=lpdfilter drv=upp method=auto color=auto");
}
void mxLine(std::string& out) {
  continued(out, "mx=0");
}
void fqLine(std::string& out, bool formFeed) {
  if (formFeed) continued(out, "fq");
}
void shLine(std::string& out) {
  continued(out, "sh");
}
void sfLine(std::string& out) {
  out += "\t:sf:\n";
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
  // Our own entries take about 300 bytes: a long printcap is then stored without regrowing.
  result.rows.reserve(text.size() / 256);
  FixedBufferCutter cutter(text, kLineBuffer);
  std::optional<std::string_view> defaultName;
  auto readLine = [&](std::string_view& line) {
    std::string_view piece;
    if (!cutter.next(piece)) return false;
    line = trimmed(piece);
    return true;
  };
  std::string entry;  // reused: its capacity stays from one entry to the next
  std::string_view line;
  while (readLine(line)) {
    if (isComment(line)) continue;
    if (line.find(':') == std::string_view::npos && line.find('\\') == std::string_view::npos) {
      // Our own files hold no blank lines; a stray one must not unmark the default printer.
      if (!line.empty()) defaultName = line;
      continue;
    }
    entry.clear();
    bool reachedEnd = false;
    while (isComment(line) || (!line.empty() && line.back() == '\\')) {
      if (!isComment(line)) entry.append(line.data(), line.size() - 1);
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
    if (!reachedEnd && !line.empty()) entry.append(line.data(), line.size() - 1);
    result.rows.push_back(parseEntry(entry, defaultName));
  }
  return result;
}

std::string formatPrintcap(const std::vector<PrinterRow>& rows) {
  std::string out =
      "# This file is automatically generated by Kelvane Printer Manager.\n"
      "# All changes to this file will be lost.\n";
  out.reserve(out.size() + rows.size() * 320);  // a typical entry, so few reallocations
  if (const auto name = defaultPrinterName(rows)) out.append(*name).append(1, '\n');
  for (const PrinterRow& row : rows) {
    const std::string& name = row[kColName];
    nameLine(out, name, row[kColDescription]);
    rwLine(out);
    deviceLines(out, row[kColType], row[kColDevice]);
    spoolLines(out, name);
    filterLines(out, row[kColFilter], row[kColPPD]);
    wdLine(out, row[kColWD]);
    cmLine(out);
    mxLine(out);
    fqLine(out, equalsIgnoreCase(row[kColFQ], "YES"));
    shLine(out);
    sfLine(out);
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
  nameLine(out, name, printer.description);
  rwLine(out);
  deviceLines(out, printer.type, printer.device);
  spoolLines(out, name);
  filterLines(out, filter, printer.ppd);
  wdLine(out, printer.windowsDriver);
  cmLine(out);
  fqLine(out, printer.formFeed);
  mxLine(out);
  shLine(out);
  sfLine(out);
  return out;
}

std::string printcapAsWritten(const std::string& bytes) {
  return formatPrintcap(parsePrintcap(bytes).rows);
}

std::optional<PrintcapParse> readPrintcapFile() {
  std::optional<std::string> text = readWholeFile(kPrintcapPath);
  if (!text) return std::nullopt;
  PrintcapParse parsed = parsePrintcap(*text);
  // Compared only at the first save: reading a long printcap stays as fast as it was.
  rememberReadFile(kPrintcapPath, std::move(*text), printcapAsWritten);
  return parsed;
}

bool writePrintcapFiles(const std::vector<PrinterRow>& rows) {
  if (!replaceFile(kPrintcapPath, formatPrintcap(rows))) return false;
  // Only other programs read this side file; a failure here has no message of its own.
  replaceFile(kPrintersInfoPath, formatPrintersInfo(rows));
  return true;
}
