#include "app/child.h"

#include <signal.h>
#include <spawn.h>
#include <unistd.h>

#include <set>

#include "app/files.h"
#include "app/i18n.h"
#include "app/shell.h"

extern char** environ;

namespace {

int& pendingRuns() {
  static int count = 0;
  return count;
}

// Process groups still running. Ended when the program ends, so that no lpq waiting on a host
// outlives the window that started it.
struct LiveGroups {
  std::set<GPid> groups;
  ~LiveGroups() {
    for (GPid group : groups) kill(-group, SIGKILL);
  }
};
std::set<GPid>& liveGroups() {
  static LiveGroups live;
  return live.groups;
}

// "/bin/sh -c line", leader of a new process group: on time-out the shell and whatever it
// started (lpq, and anything lpq forks) end together.
GPid spawnLeader(const std::string& line) {
  posix_spawnattr_t attributes;
  posix_spawnattr_init(&attributes);
  posix_spawnattr_setflags(&attributes, POSIX_SPAWN_SETPGROUP);
  posix_spawnattr_setpgroup(&attributes, 0);
  char shell[] = "/bin/sh";
  char dashC[] = "-c";
  std::string copy = line;
  char* argv[] = {shell, dashC, copy.data(), nullptr};
  pid_t pid = 0;
  const int failed = posix_spawn(&pid, shell, nullptr, &attributes, argv, environ);
  posix_spawnattr_destroy(&attributes);
  return failed ? 0 : pid;
}

// Collects a child whose run is over for its owner (timed out or given up).
void reap(GPid pid, gint /*status*/, gpointer /*data*/) {
  liveGroups().erase(pid);
  g_spawn_close_pid(pid);
}

void removeSource(guint& id) {
  if (id != 0) g_source_remove(id);
  id = 0;
}

}  // namespace

ChildRun::ChildRun(std::string outputPath, Done done)
    : path_(std::move(outputPath)), done_(std::move(done)) {
  ++pendingRuns();
}

std::unique_ptr<ChildRun> ChildRun::start(const std::string& line, const std::string& outputPath,
                                          Done done, unsigned limitMs) {
  std::unique_ptr<ChildRun> run(new ChildRun(outputPath, std::move(done)));
  if (!outputPath.empty() && !claimTempFile(outputPath)) {
    run->path_.clear();  // not ours to read or remove
    run->idleEnd_ = ChildEnd::kNotStarted;
  } else if (!commandObserved(line)) {
    run->pid_ = spawnLeader(line);
    if (run->pid_ == 0) run->idleEnd_ = ChildEnd::kNotStarted;
  }
  if (run->pid_ == 0) {
    // Handled by the observer (its output, if any, is in place) or never started: said from
    // the main loop like every other end.
    run->idle_ = g_idle_add(endWithoutChild, run.get());
    return run;
  }
  liveGroups().insert(run->pid_);
  run->watch_ = g_child_watch_add(run->pid_, childEnded, run.get());
  run->limit_ = g_timeout_add(limitMs, limitReached, run.get());
  return run;
}

ChildRun::~ChildRun() {
  if (!pending_) return;
  --pendingRuns();
  removeSource(idle_);
  removeSource(limit_);
  detachChild();
  if (!path_.empty()) unlink(path_.c_str());
}

// The child is killed and left to be collected without this run.
void ChildRun::detachChild() {
  if (watch_ == 0) return;
  removeSource(watch_);
  kill(-pid_, SIGKILL);
  g_child_watch_add(pid_, reap, nullptr);
}

void ChildRun::finish(ChildEnd end) {
  ChildResult result;
  result.end = end;
  if (!path_.empty()) {
    if (end == ChildEnd::kDone) result.output = readWholeFile(path_, true);
    unlink(path_.c_str());
  }
  pending_ = false;
  --pendingRuns();
  // Last: done may destroy this run.
  Done done = std::move(done_);
  done(result);
}

void ChildRun::childEnded(GPid pid, gint /*status*/, gpointer self) {
  auto* run = static_cast<ChildRun*>(self);
  run->watch_ = 0;
  reap(pid, 0, nullptr);
  removeSource(run->limit_);
  run->finish(ChildEnd::kDone);
}

gboolean ChildRun::limitReached(gpointer self) {
  auto* run = static_cast<ChildRun*>(self);
  run->limit_ = 0;
  run->detachChild();
  run->finish(ChildEnd::kTimedOut);
  return G_SOURCE_REMOVE;
}

gboolean ChildRun::endWithoutChild(gpointer self) {
  auto* run = static_cast<ChildRun*>(self);
  run->idle_ = 0;
  run->finish(run->idleEnd_);
  return G_SOURCE_REMOVE;
}

int childRunsPending() {
  return pendingRuns();
}

std::string noAnswerText(const std::string& host) {
  const int seconds = static_cast<int>(kChildLimitMs / 1000);
  const std::unique_ptr<gchar, decltype(&g_free)> text(
      host.empty()
          ? g_strdup_printf(_("The spooler did not answer within %d s."), seconds)
          // TRANSLATORS: %s is a printer's host name, %d a number of seconds.
          : g_strdup_printf(_("The host %s did not answer within %d s."), host.c_str(), seconds),
      &g_free);
  return text.get();
}
