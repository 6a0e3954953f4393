// /usr/lib/solvo-printer-mgr/fleet-helper: the program's files, paths, file replacement and
// spooler restart for the fleet playbooks, so that a client is written exactly as the program
// itself writes it and nothing about them is written down twice. No window: it is linked from
// the program's window-free files only, so it loads no toolkit on a client without a display.
//   fleet-helper capture                   this client's printer files, as one capture
//   fleet-helper apply [--check] [--diff]  makes this client hold the capture read on stdin
//   fleet-helper restart                   the program's spooler restart
// apply prints one line of JSON (rolloutReport) and nothing else on standard output: the
// tools it runs print on standard error. Status 1 where something could not be done.
#include <dirent.h>
#include <grp.h>
#include <pwd.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <cstdio>
#include <cstring>
#include <filesystem>
#include <iostream>
#include <iterator>
#include <optional>
#include <string>
#include <vector>

#include "app/files.h"
#include "app/output.h"
#include "app/shell.h"
#include "jobs/queue_report.h"
#include "store/printcap.h"
#include "store/rollout.h"
#include "store/samba.h"
#include "store/spooler.h"
#include "thinprint/thinprint_conf.h"

namespace {

FleetLayout programLayout() {
  return {{kPrintcapPath, kPrintersInfoPath},
          {kLpdBootScript, kThinPrintConf, kThinPrintScript},
          {kLpdBootLink, kThinPrintBootLink},
          kSambaScriptFolder};
}

// How the program writes back a file it has read; nothing for the files it only writes.
OwnFormat ownFormatOf(const FleetLayout& layout, const std::string& path) {
  if (path == kPrintcapPath) return printcapAsWritten;
  if (path == kThinPrintConf) return thinPrintConfAsWritten;
  if (isSambaScript(layout, path)) return sambaScriptAsWritten;
  return nullptr;
}

std::string userName(uid_t uid) {
  const passwd* user = getpwuid(uid);
  return user ? user->pw_name : std::to_string(uid);
}

std::string groupName(gid_t gid) {
  const group* grp = getgrgid(gid);
  return grp ? grp->gr_name : std::to_string(gid);
}

// The file path leads to, as the program would read it; nothing where no plain file is.
std::optional<HeldFile> heldFile(const std::string& path) {
  struct stat st;
  if (stat(path.c_str(), &st) != 0 || !S_ISREG(st.st_mode)) return std::nullopt;
  std::optional<std::string> content = readWholeFile(path);
  if (!content) return std::nullopt;
  return HeldFile{path, st.st_mode & 07777, userName(st.st_uid), groupName(st.st_gid),
                  std::move(*content)};
}

std::vector<std::string> sambaScriptsHere(const FleetLayout& layout) {
  std::vector<std::string> paths;
  DIR* dir = opendir(layout.sambaFolder.c_str());
  if (dir == nullptr) return paths;
  while (const dirent* entry = readdir(dir)) {
    const std::string path = layout.sambaFolder + "/" + entry->d_name;
    if (isSambaScript(layout, path)) paths.push_back(path);
  }
  closedir(dir);
  std::sort(paths.begin(), paths.end());
  return paths;
}

HeldFiles heldHere(const FleetLayout& layout) {
  std::vector<std::string> paths = layout.printerFiles;
  paths.insert(paths.end(), layout.bootFiles.begin(), layout.bootFiles.end());
  const std::vector<std::string> scripts = sambaScriptsHere(layout);
  paths.insert(paths.end(), scripts.begin(), scripts.end());
  HeldFiles held;
  for (const std::string& path : paths)
    if (std::optional<HeldFile> file = heldFile(path)) held.files.push_back(std::move(*file));
  for (const std::string& path : layout.links) {
    std::error_code error;
    const std::filesystem::path target = std::filesystem::read_symlink(path, error);
    if (!error) held.links.push_back({path, target.string()});
  }
  return held;
}

// Each change as the program makes it; each returns why it failed, or nothing.

std::string systemError(const std::string& doing) {
  return doing + ": " + std::strerror(errno);
}

// The folders above path, as the program's start-up makes the Samba folder.
void makeFolderFor(const std::string& path) {
  makeFolderWithParents(path.substr(0, path.rfind('/')));
}

std::string setOwnership(const HeldFile& want) {
  const passwd* user = getpwnam(want.owner.c_str());
  const group* grp = getgrnam(want.group.c_str());
  if (!user || !grp) return "no user " + want.owner + " or group " + want.group + " here";
  // chown first: it may clear mode bits that chmod then sets.
  if (chown(want.path.c_str(), user->pw_uid, grp->gr_gid) != 0) return systemError("chown");
  if (chmod(want.path.c_str(), want.mode) != 0) return systemError("chmod");
  return "";
}

// Through the program's own replacement: links followed, mounts written in place, and a
// hand-written original kept as FILE.orig where the program would keep it.
std::string writeFile(const FleetLayout& layout, const HeldFile& want, const HeldFile* held) {
  makeFolderFor(want.path);
  if (held) {
    if (const OwnFormat ownFormat = ownFormatOf(layout, want.path))
      rememberReadFile(want.path, held->content, ownFormat);
  }
  if (!replaceFile(want.path, want.content, want.mode)) return systemError("write");
  return setOwnership(want);
}

std::string setLink(const HeldLink& want) {
  makeFolderFor(want.path);
  if (unlink(want.path.c_str()) != 0 && errno != ENOENT) return systemError("unlink");
  if (symlink(want.target.c_str(), want.path.c_str()) != 0) return systemError("symlink");
  return "";
}

std::string removePath(const std::string& path) {
  if (unlink(path.c_str()) != 0 && errno != ENOENT) return systemError("unlink");
  return "";
}

std::string makeChange(const FleetLayout& layout, const Change& change, const HeldFiles& wanted,
                       const HeldFiles& present) {
  const HeldFile* want = findByPath(wanted.files, change.path);
  switch (change.kind) {
    case Change::kWrite:
      return writeFile(layout, *want, findByPath(present.files, change.path));
    case Change::kOwnership:
      return setOwnership(*want);
    case Change::kLink:
      return setLink(*findByPath(wanted.links, change.path));
    case Change::kRemove:
      return removePath(change.path);
  }
  return "";
}

std::string standardInput() {
  return std::string(std::istreambuf_iterator<char>(std::cin), {});
}

int refuse(const std::string& why) {
  std::fprintf(stderr, "fleet-helper: %s\n", why.c_str());
  return 1;
}

int capture(const FleetLayout& layout) {
  const HeldFiles held = heldHere(layout);
  if (!findByPath(held.files, kPrintcapPath))
    return refuse("no /etc/printcap here: set up the printers with solvo-printer-mgr first");
  std::fputs(formatCapture(held).c_str(), stdout);
  return 0;
}

// Makes each change of the plan and says each failure; what was done, as a plan.
RolloutPlan makeChanges(const FleetLayout& layout, const RolloutPlan& plan, const HeldFiles& wanted,
                        const HeldFiles& present, int& status) {
  RolloutPlan done;
  for (const Change& change : plan.changes) {
    const std::string failure = makeChange(layout, change, wanted, present);
    if (failure.empty()) {
      done.changes.push_back(change);
      done.restartSpooler = done.restartSpooler || restartsSpooler(layout, change);
    } else {
      status = refuse(change.path + ": " + failure);
    }
  }
  return done;
}

// The printers of the client's printcap that the capture drops, with the jobs queued for each
// (the queue report the Jobs page reads).
std::vector<EmptiedQueue> queuesToEmpty(const HeldFiles& wanted, const HeldFiles& present) {
  std::vector<EmptiedQueue> queues;
  for (const std::string& name : printersRemoved(wanted, present)) {
    if (!safeFileName(name)) continue;
    const std::optional<std::string> listing = commandOutput(lpqCommand(name), kQueueListingPath);
    queues.push_back({name, listing ? parseQueueReport(*listing).jobs.size() : 0});
  }
  return queues;
}

// As the window deletes a printer: its jobs while lpd still knows the queue, then its folder.
void emptyQueues(const std::vector<EmptiedQueue>& queues) {
  for (const EmptiedQueue& queue : queues) {
    runCommand(lprmQueueCommand(queue.printer));
    runCommand(removeSpoolFolderCommand(queue.printer));
  }
}

int apply(const FleetLayout& layout, bool check, bool withDiff) {
  const std::optional<HeldFiles> wanted = parseCapture(standardInput());
  if (!wanted) return refuse("standard input holds no capture");
  if (!findByPath(wanted->files, kPrintcapPath))
    return refuse("the capture holds no /etc/printcap");
  const std::string stranger = unmanagedPath(layout, *wanted);
  if (!stranger.empty())
    return refuse("the capture names " + stranger + ", which the program does not write");
  // The JSON line alone on standard output: what the restart's tools print goes to stderr.
  std::FILE* report = fdopen(dup(STDOUT_FILENO), "w");
  if (report == nullptr || dup2(STDERR_FILENO, STDOUT_FILENO) < 0)
    return refuse(systemError("standard output"));
  const HeldFiles present = heldHere(layout);
  RolloutPlan plan = planRollout(layout, *wanted, present);
  plan.emptied = queuesToEmpty(*wanted, present);
  int status = 0;
  if (!check) emptyQueues(plan.emptied);
  RolloutPlan done = check ? plan : makeChanges(layout, plan, *wanted, present, status);
  done.emptied = plan.emptied;
  if (!check && done.restartSpooler) preparelpd();
  std::optional<std::vector<std::string>> diff;
  if (withDiff) diff = rolloutDiff(layout, plan, *wanted, present);
  std::fputs(rolloutReport(done, diff).c_str(), report);
  return std::fclose(report) == 0 ? status : 1;
}

}  // namespace

int main(int argc, char** argv) {
  const std::vector<std::string> args(argv + 1, argv + argc);
  const FleetLayout layout = programLayout();
  if (args == std::vector<std::string>{"capture"}) return capture(layout);
  if (args == std::vector<std::string>{"restart"}) return preparelpd(), 0;
  if (!args.empty() && args[0] == "apply") {
    const auto has = [&](const char* flag) {
      return std::find(args.begin() + 1, args.end(), flag) != args.end();
    };
    const bool known = std::all_of(args.begin() + 1, args.end(), [](const std::string& a) {
      return a == "--check" || a == "--diff";
    });
    if (known) return apply(layout, has("--check"), has("--diff"));
  }
  return refuse("usage: fleet-helper capture | apply [--check] [--diff] | restart");
}
