#include "store/spooler.h"

#include "app/files.h"
#include "app/shell.h"

const char* const kQueueListingPath = "/tmp/lprqueue";

const char* const kLpdBootScript = "/etc/init.d/runlpd";
const char* const kLpdBootLink = "/etc/rcS.d/S76runlpd";

// Every name and job id is quoted: they come from the printcap and from lpq output, and the
// lines run as root.
std::string lpqCommand(const std::string& printerName) {
  return "lpq -P " + shellQuote(printerName) + " > " + kQueueListingPath;
}

std::string lprmJobCommand(const std::string& printerName, const std::string& jobId) {
  return "lprm -P " + shellQuote(printerName) + " " + shellQuote(jobId);
}

std::string lprmQueueCommand(const std::string& printerName) {
  return "lprm -P " + shellQuote(printerName) + " all";
}

bool safeFileName(const std::string& name) {
  return !name.empty() && name != "." && name != ".." && name.find('/') == std::string::npos;
}

std::string removeSpoolFolderCommand(const std::string& printerName) {
  return "rm " + shellQuote("/var/spool/lpd/" + printerName) + " -rf";
}

std::string lprCommand(const std::string& file) {
  return "lpr " + shellQuote(file);
}

const std::vector<std::string>& restartCommands() {
  static const std::vector<std::string> commands = {
      "killall lpd",
      "mkdir /var/run/lprng -p",
      "chmod -R 777 /var/run/lprng",
      "chown -R daemon:lp /var/run/lprng",
      "chmod 770 /var/spool/lpd",
      "chown -R daemon:lp /var/spool/lpd",
      "checkpc -f",
      "lpd",
  };
  return commands;
}

void preparelpd() {
  for (const std::string& line : restartCommands()) runCommand(line);
}

void setLpdAtBoot(bool on) {
  if (on) {
    // Without the script there is nothing to link to; the switch then simply has no effect.
    if (!replaceFile(kLpdBootScript, "#! /bin/sh\n", 0755)) return;
    runCommand("ln -s /etc/init.d/runlpd /etc/rcS.d/S76runlpd");
    runCommand("chmod 755 /etc/init.d/runlpd");
  } else {
    runCommand("rm /etc/rcS.d/S76runlpd");
    runCommand("rm /etc/init.d/runlpd");
  }
}
