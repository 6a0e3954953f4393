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
// "lpr FILE"
std::string lprCommand(const std::string& file);
// The boot-time switch: the script and its link in /etc/rcS.d.
extern const char* const kLpdBootScript;  // "/etc/init.d/runlpd"
extern const char* const kLpdBootLink;    // "/etc/rcS.d/S76runlpd"
// The eight lines of the restart, in order.
const std::vector<std::string>& restartCommands();

// Stops lpd, puts its folders in order, runs "checkpc -f", starts lpd. Queued jobs stay in
// their spool folders and are there again for the new lpd: jobs are the users' data.
void preparelpd();
// "toggled" handler of "Load LPD Server at boot time": writes or removes the boot script.
void chkbtnLPDserver_toggled(GtkWidget* widget, gpointer data);
