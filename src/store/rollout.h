// A fleet rollout without files or processes: the capture of one client's printer files as
// text, and what a client must change to hold the same (the fleet helper does the I/O).
#pragma once

#include <algorithm>
#include <optional>
#include <string>
#include <vector>

// A file as a client holds it: the file a path leads to, with its mode and owners by name.
struct HeldFile {
  std::string path;
  unsigned mode = 0644;
  std::string owner = "root";
  std::string group = "root";
  std::string content;
};

// A symbolic link and the path it holds.
struct HeldLink {
  std::string path;
  std::string target;
};

// What a client holds of the program's files: a capture, or a client's files before a rollout.
struct HeldFiles {
  std::vector<HeldFile> files;
  std::vector<HeldLink> links;
};

// The file or link of items at path; nullptr where there is none.
template <typename Held>
const Held* findByPath(const std::vector<Held>& items, const std::string& path) {
  const auto found =
      std::find_if(items.begin(), items.end(), [&](const Held& h) { return h.path == path; });
  return found == items.end() ? nullptr : &*found;
}

// Which paths a rollout manages. Where a printer file or a Samba script changes, the spooler
// must be restarted; the boot files act at the next boot.
struct FleetLayout {
  std::vector<std::string> printerFiles;
  std::vector<std::string> bootFiles;
  std::vector<std::string> links;
  std::string sambaFolder;  // holds the Samba print scripts NAME.sh
};

// The capture as one text file: a line per file or link; names are percent-encoded where they
// hold anything but [A-Za-z0-9._/@+=:,-], contents are base64 ("-" when empty).
std::string formatCapture(const HeldFiles& held);
// Nothing when the text is no capture (an unknown line, a bad mode, broken encoding).
std::optional<HeldFiles> parseCapture(const std::string& text);

// Whether path is a Samba print script of the layout: FOLDER/NAME.sh, NAME without '/'.
bool isSambaScript(const FleetLayout& layout, const std::string& path);
// The first path of the capture that the layout does not manage; empty when there is none.
std::string unmanagedPath(const FleetLayout& layout, const HeldFiles& wanted);

// One change to one path of a client.
struct Change {
  enum Kind { kWrite, kOwnership, kLink, kRemove } kind;
  std::string path;
};

// A printer the capture drops, and how many jobs its queue held when it was emptied.
struct EmptiedQueue {
  std::string printer;
  std::size_t jobs = 0;
};

struct RolloutPlan {
  std::vector<Change> changes;
  bool restartSpooler = false;
  // Queues of dropped printers: their jobs are removed and their spool folders go.
  std::vector<EmptiedQueue> emptied;
};

// Whether a change makes the spooler's restart needed: a printer file or Samba script written
// or removed.
bool restartsSpooler(const FleetLayout& layout, const Change& change);

// What makes a client holding `present` hold `wanted`: files whose bytes differ are written,
// files whose mode or owners differ only get those, links are set, and managed paths the
// capture lacks are removed.
RolloutPlan planRollout(const FleetLayout& layout, const HeldFiles& wanted,
                        const HeldFiles& present);
// The printers of the client's printcap that the capture's lacks: their queued jobs go before
// the printcap is rewritten, as a printer's deleted in the window do.
std::vector<std::string> printersRemoved(const HeldFiles& wanted, const HeldFiles& present);

// The differences a plan makes, for --diff: a unified diff of each written file, except Samba
// scripts, whose content (a password) is never shown; a line for each queue emptied.
std::vector<std::string> rolloutDiff(const FleetLayout& layout, const RolloutPlan& plan,
                                     const HeldFiles& wanted, const HeldFiles& present);

// The helper's one line of JSON: {"changed":..,"written":[..],"removed":[..],"restart":..,
// "emptied":["NAME: N jobs",..]} and, with a diff, "diff":[lines]. Ends in a newline.
std::string rolloutReport(const RolloutPlan& plan,
                          const std::optional<std::vector<std::string>>& diff = std::nullopt);
