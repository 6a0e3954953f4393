#include "thinprint/thinprint_conf.h"

#include <algorithm>

#include "app/shell.h"
#include "app/text.h"

const char* const kThinPrintClient = "/usr/share/thinprint/thnuclnt";
const char* const kThinPrintConf = "/etc/dorvek/thinprint.conf";
const char* const kThinPrintScript = "/etc/init.d/runthinprint";
const char* const kThinPrintBootLink = "/etc/rcS.d/S76runthinprint";

namespace {

// The reader's line buffer: longer lines arrive in several pieces.
constexpr std::size_t kLineBuffer = 250;

// A value counts only when its row is in use and something is left after trimming.
std::string valueInUse(bool inUse, const std::string& value) {
  return inUse ? strmakeup(value, " \t", 0) : std::string();
}

// A stored text on the start script's line. The script runs as root, and names come from a
// hand-editable file and from the printcap: a text the shell can only split at blanks or strip
// of balanced double quotes stays as it stands (ordinary and quoted names keep their form);
// anything else is single-quoted (inside its double quotes, when it has them) so that no name,
// device or setting can ever run a command.
std::string scriptWords(const std::string& text) {
  std::string rest = text;
  rest.erase(std::remove_if(rest.begin(), rest.end(),
                            [](char c) { return c == ' ' || c == '\t' || c == '"'; }),
             rest.end());
  const auto quotes = std::count(text.begin(), text.end(), '"');
  if (quotes % 2 == 0 && (rest.empty() || shellQuote(rest) == rest)) return text;
  const bool inQuotes =
      quotes == 2 && text.size() >= 2 && text.front() == '"' && text.back() == '"';
  return shellQuote(inQuotes ? text.substr(1, text.size() - 2) : text);
}

}  // namespace

ThinPrintSettings parseThinPrintConf(const std::string& text) {
  ThinPrintSettings settings;
  for (const std::string& piece : fixedBufferLines(text, kLineBuffer)) {
    const std::string line = strmakeup(piece, " \t\n\r", 0);
    // The keywords are matched on the piece as read, so an indented one is a printer line.
    if (startsWith(piece, "BANDWIDTH")) {
      settings.bandwidthInUse = true;
      settings.bandwidth = getstrafter(line, "=");
    } else if (startsWith(piece, "PORT")) {
      settings.portInUse = true;
      settings.port = getstrafter(line, "=");
    } else {
      settings.printers.push_back({getstrafter(line, " "), getstrbefore(line, " ")});
    }
  }
  return settings;
}

std::string formatThinPrintConf(const ThinPrintSettings& settings) {
  std::string out;
  const std::string bandwidth = valueInUse(settings.bandwidthInUse, settings.bandwidth);
  if (!bandwidth.empty()) out += "BANDWIDTH=" + bandwidth + "\n";
  const std::string port = valueInUse(settings.portInUse, settings.port);
  if (!port.empty()) out += "PORT=" + port + "\n";
  // Device first, then name: the reverse of the list's columns.
  for (const auto& p : settings.printers) out += p.device + " " + p.name + "\n";
  return out;
}

std::string thinPrintConfAsWritten(const std::string& bytes) {
  return formatThinPrintConf(parseThinPrintConf(bytes));
}

std::string thinPrintCommandLine(const ThinPrintSettings& settings) {
  std::string line = std::string(kThinPrintClient) + " ";
  const std::string bandwidth = valueInUse(settings.bandwidthInUse, settings.bandwidth);
  if (!bandwidth.empty()) line += "-b " + scriptWords(bandwidth) + " ";
  const std::string port = valueInUse(settings.portInUse, settings.port);
  if (!port.empty()) line += "-port " + scriptWords(port) + " ";
  for (const auto& p : settings.printers) {
    line += "-dev " + scriptWords(p.device) + " ";
    line += "-name " + scriptWords(p.name) + " ";
  }
  return line;
}

std::string startScript(const ThinPrintSettings& settings) {
  return "#!/bin/sh\n" + thinPrintCommandLine(settings) + "\n";
}

std::string storedText(const std::string& typed) {
  const bool hasSpace = typed.find(' ') != std::string::npos;
  const bool hasQuote = typed.find('"') != std::string::npos;
  return hasSpace && !hasQuote ? "\"" + typed + "\"" : typed;
}
