// Every command line this program gives the LPRng spooler, and the spooler's restart.
#pragma once

#include <gtk/gtk.h>

#include <string>
#include <vector>

// Where queue listings are written ("lpq ... > /tmp/lprqueue").
extern const char* const kQueueListingPath;

// "lpq -P NAME > /tmp/lprqueue"
std::string lpqCommand(const std::string& printerName);
// "lprm -P NAME JOBID"
std::string lprmJobCommand(const std::string& printerName, const std::string& jobId);
// "lprm -P NAME all"
std::string lprmQueueCommand(const std::string& printerName);
// "lprm -a all"
std::string lprmEverythingCommand();
// "lpr FILE"
std::string lprCommand(const std::string& file);
// The boot-time switch: the script and its link in /etc/rcS.d.
extern const char* const kLpdBootScript;  // "/etc/init.d/runlpd"
extern const char* const kLpdBootLink;    // "/etc/rcS.d/S76runlpd"
// The nine lines of the restart, in order.
const std::vector<std::string>& restartCommands();

// Empties every queue, stops lpd, puts its folders in order, runs "checkpc -f", starts lpd.
void preparelpd();
// "toggled" handler of "Load LPD Server at boot time": writes or removes the boot script.
void chkbtnLPDserver_toggled(GtkWidget* widget, gpointer data);
