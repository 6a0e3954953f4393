// Samba print scripts "/etc/dorvek/samba/NAME.sh": the format and the files.
#pragma once

#include <optional>
#include <string>

struct SambaSettings {
  std::string server;     // "hostip="
  std::string printer;    // "printer=" (the shared printer)
  std::string user;       // "username="
  std::string password;   // "password="
  std::string workgroup;  // "workgroup="
  bool translate = false;
};

// What a script holds: only the keys found are set; translate is set only by "translate=yes".
struct SambaScriptValues {
  std::optional<std::string> server, printer, user, password, workgroup;
  bool translateYes = false;
};

std::string formatSambaScript(const SambaSettings& settings);
SambaScriptValues parseSambaScript(const std::string& text);
// "/etc/dorvek/samba": the folder of the scripts.
extern const char* const kSambaScriptFolder;
// "/etc/dorvek/samba/NAME.sh"
std::string sambaScriptPath(const std::string& printerName);
// The script the program writes back after reading these bytes into the editor.
std::string sambaScriptAsWritten(const std::string& bytes);

// Writes the script of printerName (mode 750, root:lp); one that cannot be written is left
// out silently: the printer is still saved, and printing to it fails in the spooler.
void writeSambaScript(const std::string& printerName, const SambaSettings& settings);
// What the script of printerName holds, remembered for its FILE.orig copy; nothing when it
// cannot be read.
std::optional<SambaScriptValues> readSambaScript(const std::string& printerName);
