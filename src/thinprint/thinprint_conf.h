// ThinPrint client settings without widgets or files: the settings file, the client command
// line and the start script, so that the page only moves cells and writes bytes.
#pragma once

#include <string>
#include <vector>

// One row of the ThinPrint printer list; both texts as stored (quotes included).
struct ThinPrintPrinter {
  std::string name;
  std::string device;
};

// What the page holds: a setting "in use" is one whose "Use Default" is inactive.
struct ThinPrintSettings {
  bool bandwidthInUse = false;
  std::string bandwidth;
  bool portInUse = false;
  std::string port;
  std::vector<ThinPrintPrinter> printers;
};

// Where the client lives and where its command line starts.
extern const char* const kThinPrintClient;
// Where the page keeps its settings and how the client is started at boot.
extern const char* const kThinPrintConf;      // "/etc/dorvek/thinprint.conf"
extern const char* const kThinPrintScript;    // "/etc/init.d/runthinprint"
extern const char* const kThinPrintBootLink;  // "/etc/rcS.d/S76runthinprint"

// Reads /etc/dorvek/thinprint.conf as a 250-byte line buffer would.
ThinPrintSettings parseThinPrintConf(const std::string& text);
// The settings file as "Save" writes it.
std::string formatThinPrintConf(const ThinPrintSettings& settings);
// What "Save" writes back after the page has read these bytes.
std::string thinPrintConfAsWritten(const std::string& bytes);
// The client's command line; every piece, the last one too, ends with a space. Texts go in
// as stored unless the shell would do more with them than split them into words.
std::string thinPrintCommandLine(const ThinPrintSettings& settings);
// The content of /etc/init.d/runthinprint.
std::string startScript(const ThinPrintSettings& settings);
// A typed name or device as the list keeps it: quoted when it holds a space and no quote.
std::string storedText(const std::string& typed);
