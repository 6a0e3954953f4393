#include "app/shell.h"

#include <fcntl.h>
#include <spawn.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cerrno>
#include <thread>
#include <vector>

extern char** environ;

namespace {

CommandObserver& observer() {
  static CommandObserver instance;
  return instance;
}

CommandWaitPump& waitPump() {
  static CommandWaitPump instance;
  return instance;
}

bool isSafeShellByte(char c) {
  if ((c >= 'A' && c <= 'Z') || (c >= 'a' && c <= 'z') || (c >= '0' && c <= '9')) return true;
  switch (c) {
    case '.':
    case '_':
    case '/':
    case '@':
    case '%':
    case '+':
    case '=':
    case ':':
    case ',':
    case '-':
      return true;
    default:
      return false;
  }
}

// The child being waited for; 0 when no command runs.
pid_t& runningChild() {
  static pid_t pid = 0;
  return pid;
}

// Blocks until pid has ended, leaving it to be collected.
void awaitEnd(pid_t pid) {
  siginfo_t info;
  while (waitid(P_PID, static_cast<id_t>(pid), &info, WEXITED | WNOWAIT) < 0 && errno == EINTR) {
  }
}

// A thread waits for the child and then writes to a pipe, which the pump watches: it wakes the
// moment the child ends, on every kernel and under valgrind alike.
void pumpUntilEnded(pid_t pid) {
  int ends[2];
  if (pipe2(ends, O_CLOEXEC) != 0) return;
  std::thread waiter([pid, writeEnd = ends[1]] {
    awaitEnd(pid);
    const char ended = 1;
    while (write(writeEnd, &ended, 1) < 0 && errno == EINTR) {
    }
  });
  waitPump()(ends[0]);
  waiter.join();
  close(ends[0]);
  close(ends[1]);
}

void reap(pid_t pid) {
  int status = 0;
  while (waitpid(pid, &status, 0) < 0 && errno == EINTR) {
  }
}

// The final waitpid only collects the child once the pump has seen it end.
void waitForChild(pid_t pid) {
  if (waitPump()) pumpUntilEnded(pid);
  reap(pid);
}

// A line started during another one's wait (by a timer, say) begins only after that one has
// ended: one command line at a time. The earlier child is left for its own caller to collect.
void awaitRunningChild() {
  if (runningChild() > 0) awaitEnd(runningChild());
}

// The words of a line the shell would only split at blanks: safe bytes and spaces only. Empty
// otherwise. (A first word that is a builtin, keyword or assignment names no program, so it
// cannot be started and the line goes to the shell.)
std::vector<std::string> plainProgramWords(const std::string& line) {
  std::vector<std::string> words;
  std::string word;
  for (char c : line) {
    if (c == ' ') {
      if (!word.empty()) words.push_back(std::move(word));
      word.clear();
    } else if (isSafeShellByte(c)) {
      word += c;
    } else {
      return {};
    }
  }
  if (!word.empty()) words.push_back(std::move(word));
  return words;
}

// "/bin/sh -c line" as a child; 0 when it could not be started.
pid_t spawnShell(const std::string& line) {
  char shell[] = "/bin/sh";
  char dashC[] = "-c";
  std::string copy = line;
  char* argv[] = {shell, dashC, copy.data(), nullptr};
  pid_t pid = 0;
  if (posix_spawn(&pid, shell, nullptr, nullptr, argv, environ) != 0) return 0;
  return pid;
}

// The line's child: a plain line runs its program straight, as the shell would have run it,
// without a shell process first; anything else, or a program that cannot be started (the
// shell then says why, as it always did), goes through "/bin/sh -c".
pid_t spawnLine(const std::string& line) {
  std::vector<std::string> words = plainProgramWords(line);
  if (!words.empty()) {
    std::vector<char*> argv;
    for (std::string& word : words) argv.push_back(word.data());
    argv.push_back(nullptr);
    pid_t pid = 0;
    if (posix_spawnp(&pid, argv[0], nullptr, nullptr, argv.data(), environ) == 0) return pid;
  }
  return spawnShell(line);
}

}  // namespace

void setCommandObserver(CommandObserver newObserver) {
  observer() = std::move(newObserver);
}

void setCommandWaitPump(CommandWaitPump pump) {
  waitPump() = std::move(pump);
}

bool commandObserved(const std::string& line) {
  return observer() && observer()(line);
}

bool commandRunning() {
  return runningChild() > 0;
}

// A line run from a timer during another's wait restores that one as the running child.
void runCommand(const std::string& line) {
  const pid_t outer = runningChild();
  finishCommand(startCommand(line));
  runningChild() = outer;
}

pid_t startCommand(const std::string& line) {
  if (commandObserved(line)) return 0;
  awaitRunningChild();
  const pid_t pid = spawnLine(line);
  if (pid > 0) runningChild() = pid;
  return pid;
}

void finishCommand(pid_t started) {
  if (started <= 0) return;
  waitForChild(started);
  if (runningChild() == started) runningChild() = 0;
}

std::string shellQuote(const std::string& value) {
  bool safe = !value.empty();
  for (char c : value) safe = safe && isSafeShellByte(c);
  if (safe) return value;
  std::string quoted = "'";
  for (char c : value) {
    if (c == '\'') {
      quoted += "'\\''";
    } else {
      quoted += c;
    }
  }
  quoted += "'";
  return quoted;
}
