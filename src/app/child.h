// Command lines that may wait on the network (lpq and lpc forward to a printer's host), run as
// children watched from the main loop: the windows take every input meanwhile, and a run that
// passes its time limit is ended with its whole process group.
#pragma once

#include <glib.h>

#include <functional>
#include <memory>
#include <optional>
#include <string>

// How long a watched run may take. A local lpq or lpc answers within milliseconds and a host on
// the LAN within a second; 4 s leaves room for a loaded machine and still ends before the Jobs
// page's next 5-second tick, so a host that hangs costs one run per tick and never more.
constexpr unsigned kChildLimitMs = 4000;

enum class ChildEnd { kDone, kTimedOut, kNotStarted };

struct ChildResult {
  ChildEnd end = ChildEnd::kNotStarted;
  std::optional<std::string> output;  // what the line wrote into its path, when it ended
};

class ChildRun {
 public:
  using Done = std::function<void(const ChildResult&)>;
  // Runs line through "/bin/sh -c" in a process group of its own. outputPath, when given, is the
  // fixed path under /tmp the line writes into: claimed first, read when the line has ended and
  // removed on every path (as commandOutput does). The line goes to the command observer first,
  // like every line the program runs. done is called once, from the main loop, never from
  // within start; it may destroy the run.
  static std::unique_ptr<ChildRun> start(const std::string& line, const std::string& outputPath,
                                         Done done, unsigned limitMs = kChildLimitMs);
  // A run that has not ended is ended now (its process group killed, its sources removed) and
  // its done is never called.
  ~ChildRun();
  ChildRun(const ChildRun&) = delete;
  ChildRun& operator=(const ChildRun&) = delete;

 private:
  ChildRun(std::string outputPath, Done done);
  void finish(ChildEnd end);
  void detachChild();
  static void childEnded(GPid pid, gint status, gpointer self);
  static gboolean limitReached(gpointer self);
  static gboolean endWithoutChild(gpointer self);

  std::string path_;
  Done done_;
  GPid pid_ = 0;
  guint watch_ = 0, limit_ = 0, idle_ = 0;
  bool pending_ = true;
  ChildEnd idleEnd_ = ChildEnd::kDone;
};

// Runs started whose done has not yet been called.
int childRunsPending();

// What the state line or a message says when a run passed its limit: host names the printer's
// host for a network printer; empty: the local spooler.
std::string noAnswerText(const std::string& host);
