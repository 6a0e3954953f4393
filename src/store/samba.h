// Samba print scripts "/etc/dorvek/samba/NAME.sh": format, reader and GTK adapters.
#pragma once

#include <gtk/gtk.h>

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

// Both take the Printer Info box of an open printer editor (rows 1, 4-8 and 13).
void writeSamba(GtkWidget* fr2group);
void readSamba(GtkWidget* fr2group);
