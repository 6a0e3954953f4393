#include "store/samba.h"

#include <utility>
#include <vector>

#include "app/files.h"
#include "app/shell.h"
#include "app/text.h"

const char* const kSambaScriptFolder = "/etc/dorvek/samba";

namespace {

const char* const kScriptTail =
    "if [ \"$workgroup\" != \"\" ]; then\n"
    "    wkgcmd=\"-W\"\n"
    "else\n"
    "    wkgcmd=\"\"\n"
    "fi\n"
    "\n"
    "if [ \"$translate\" = \"yes\" ]; then\n"
    "    command=\"translate ; print -\"\n"
    "else\n"
    "    command=\"print -\"\n"
    "fi\n"
    "\n"
    "cat | /usr/bin/smbclient $share -U $username%$password $wkgcmd $workgroup -c \"$command\"\n";

const char* const kMarker = "##########";

// The script is sourced by /bin/sh, so a value with blanks or shell characters must be quoted
// to stay one value; ordinary values keep the plain "key=value" form.
std::string scriptValue(const std::string& value) {
  return value.empty() ? std::string() : shellQuote(value);
}

bool isBlank(char c) {
  return c == ' ' || c == '\t' || c == '\r';
}

// Undoes scriptValue: single-quoted parts are literal, '\'' stands for one quote, and blanks
// at the end count only outside quotes (a quoted password may end in a blank).
std::string unquoteValue(const std::string& raw) {
  std::string value;
  std::size_t keep = 0;  // length of value up to its last quoted or non-blank byte
  std::size_t i = 0;
  while (i < raw.size()) {
    const char c = raw[i];
    if (c == '\'') {
      const std::size_t close = raw.find('\'', i + 1);
      const std::size_t end = close == std::string::npos ? raw.size() : close;
      value.append(raw, i + 1, end - i - 1);
      keep = value.size();
      i = end + 1;
    } else if (c == '\\' && i + 1 < raw.size() && raw[i + 1] == '\'') {
      value += '\'';
      keep = value.size();
      i += 2;
    } else {
      value += c;
      if (!isBlank(c)) keep = value.size();
      ++i;
    }
  }
  value.resize(keep);
  return value;
}

struct Key {
  const char* text;
  std::optional<std::string> SambaScriptValues::*field;
};

const Key kKeys[] = {
    {"hostip=", &SambaScriptValues::server},       {"printer=", &SambaScriptValues::printer},
    {"username=", &SambaScriptValues::user},       {"password=", &SambaScriptValues::password},
    {"workgroup=", &SambaScriptValues::workgroup},
};

}  // namespace

std::string formatSambaScript(const SambaSettings& settings) {
  const std::string server = scriptValue(settings.server);
  const std::string printer = scriptValue(settings.printer);
  std::string out = "#!/bin/sh\n";
  out += "hostip=" + server + "\n";
  out += "printer=" + printer + "\n";
  out += "share=//" + server + "/" + printer + "\n";
  out += "username=" + scriptValue(settings.user) + "\n";
  out += "password=" + scriptValue(settings.password) + "\n";
  out += "workgroup=" + scriptValue(settings.workgroup) + "\n";
  if (settings.translate) out += "translate=yes\n";
  out += std::string(70, '#') + "\n";
  out += kScriptTail;
  return out;
}

SambaScriptValues parseSambaScript(const std::string& text) {
  SambaScriptValues values;
  for (const std::string& whole : wholeLines(text)) {
    // Leading blanks are never inside quotes; trailing ones are dropped by unquoteValue.
    const std::string line = strtrimF(whole, " \t\r");
    for (const Key& key : kKeys) {
      if (startsWith(line, key.text, true))
        values.*key.field = unquoteValue(getstrafter(line, "="));
    }
    if (startsWith(line, "translate=", true) &&
        equalsIgnoreCase(unquoteValue(getstrafter(line, "=")), "yes")) {
      values.translateYes = true;
    }
    if (line.compare(0, 10, kMarker) == 0) break;
  }
  return values;
}

std::string sambaScriptPath(const std::string& printerName) {
  return std::string(kSambaScriptFolder) + "/" + printerName + ".sh";
}

// What writeSamba makes from what readSamba put into the editor's empty Samba fields.
std::string sambaScriptAsWritten(const std::string& text) {
  const SambaScriptValues values = parseSambaScript(text);
  SambaSettings settings;
  settings.server = values.server.value_or("");
  settings.printer = values.printer.value_or("");
  settings.user = values.user.value_or("");
  settings.password = values.password.value_or("");
  settings.workgroup = values.workgroup.value_or("");
  settings.translate = values.translateYes;
  return formatSambaScript(settings);
}

void writeSambaScript(const std::string& printerName, const SambaSettings& settings) {
  const std::string path = sambaScriptPath(printerName);
  if (!replaceFile(path, formatSambaScript(settings), 0750)) return;
  runCommand("chmod 750 " + shellQuote(path));
  runCommand("chown root:lp " + shellQuote(path));
}

std::optional<SambaScriptValues> readSambaScript(const std::string& printerName) {
  const std::string path = sambaScriptPath(printerName);
  std::optional<std::string> text = readWholeFile(path);
  if (!text) return std::nullopt;
  SambaScriptValues values = parseSambaScript(*text);
  rememberReadFile(path, std::move(*text), sambaScriptAsWritten);
  return values;
}
