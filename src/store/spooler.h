// Every command line this program gives the LPRng spooler, and the spooler's restart.
#pragma once

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
// A printer name that, glued to a folder, still points inside it; any other name from a
// hand-edited printcap must not become the target of an "rm -rf" run as root.
bool safeFileName(const std::string& name);
// "rm /var/spool/lpd/NAME -rf": a deleted printer's spool folder, once its jobs are removed.
std::string removeSpoolFolderCommand(const std::string& printerName);
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
// The boot-time switch: on writes the boot script and its link, off removes both. It acts at
// the next boot only; the running lpd is left as it is.
void setLpdAtBoot(bool on);
