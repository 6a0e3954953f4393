#include "app/shell.h"

#include <fcntl.h>
#include <spawn.h>
#include <sys/syscall.h>
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

// A descriptor that turns readable the moment pid ends; -1 where the kernel has none.
int exitDescriptorOf(pid_t pid) {
#ifdef SYS_pidfd_open
  static bool missing = false;  // asked once: the answer does not change
  if (missing) return -1;
  const int fd = static_cast<int>(syscall(SYS_pidfd_open, pid, 0));
  missing = fd < 0 && errno == ENOSYS;
  return fd;
#else
  (void)pid;
  return -1;
#endif
}

// Blocks until pid has ended, leaving it to be collected.
void awaitEnd(pid_t pid) {
  siginfo_t info;
  while (waitid(P_PID, static_cast<id_t>(pid), &info, WEXITED | WNOWAIT) < 0 && errno == EINTR) {
  }
}

// Where pidfd_open is missing (kernels before 5.3, valgrind), a thread waits for the child and
// then writes to a pipe, which the pump can watch just the same.
void pumpUntilEndedByThread(pid_t pid) {
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

// A pump waits on the child's exit descriptor, so it wakes the moment the child ends; the
// final waitpid then only collects it.
void waitForChild(pid_t pid) {
  if (waitPump()) {
    const int exitFd = exitDescriptorOf(pid);
    if (exitFd >= 0) {
      waitPump()(exitFd);
      close(exitFd);
    } else {
      pumpUntilEndedByThread(pid);
    }
  }
  reap(pid);
}

// A line started during another one's wait (by a timer, say) begins only after that one has
// ended: one command line at a time. The earlier child is left for its own caller to collect.
void awaitRunningChild() {
  if (runningChild() > 0) awaitEnd(runningChild());
}

}  // namespace

void setCommandObserver(CommandObserver newObserver) {
  observer() = std::move(newObserver);
}

void setCommandWaitPump(CommandWaitPump pump) {
  waitPump() = std::move(pump);
}

bool commandRunning() {
  return runningChild() > 0;
}

namespace {

// Words the shell would treat itself rather than run as a program found on PATH.
bool isShellOwnWord(const std::string& word) {
  static const char* const kOwn[] = {
      ".",      ":",       "alias", "bg",    "break",  "case", "cd",      "command",  "continue",
      "do",     "done",    "echo",  "elif",  "else",   "esac", "eval",    "exec",     "exit",
      "export", "false",   "fc",    "fg",    "fi",     "for",  "getopts", "hash",     "if",
      "in",     "jobs",    "kill",  "local", "printf", "pwd",  "read",    "readonly", "return",
      "set",    "shift",   "test",  "then",  "times",  "trap", "true",    "type",     "ulimit",
      "umask",  "unalias", "unset", "until", "wait",   "while"};
  for (const char* own : kOwn) {
    if (word == own) return true;
  }
  return false;
}

// The words of a line the shell would only split at blanks and then run as one program: safe
// bytes and spaces only, no assignment or word of the shell's own first. Empty otherwise.
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
  if (words.empty() || words[0].find('=') != std::string::npos || isShellOwnWord(words[0])) {
    return {};
  }
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

void runCommand(const std::string& line) {
  if (observer() && observer()(line)) return;
  awaitRunningChild();
  const pid_t pid = spawnLine(line);
  if (pid <= 0) return;
  const pid_t outer = runningChild();
  runningChild() = pid;
  waitForChild(pid);
  runningChild() = outer;
}

pid_t startCommand(const std::string& line) {
  if (observer() && observer()(line)) return 0;
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
