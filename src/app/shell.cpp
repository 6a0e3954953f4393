#include "app/shell.h"

#include <spawn.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cerrno>
#include <ctime>

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

void sleepMilliseconds(long ms) {
  struct timespec ts = {0, ms * 1000000L};
  nanosleep(&ts, nullptr);
}

// Waits for the child; with a pump, polls so the pump can run between checks.
void waitForChild(pid_t pid) {
  int status = 0;
  if (!waitPump()) {
    while (waitpid(pid, &status, 0) < 0 && errno == EINTR) {
    }
    return;
  }
  for (;;) {
    const pid_t done = waitpid(pid, &status, WNOHANG);
    if (done == pid || (done < 0 && errno != EINTR)) return;
    waitPump()();
    sleepMilliseconds(2);
  }
}

}  // namespace

void setCommandObserver(CommandObserver newObserver) {
  observer() = std::move(newObserver);
}

void setCommandWaitPump(CommandWaitPump pump) {
  waitPump() = std::move(pump);
}

void runCommand(const std::string& line) {
  if (observer() && observer()(line)) return;
  char shell[] = "/bin/sh";
  char dashC[] = "-c";
  std::string copy = line;
  char* argv[] = {shell, dashC, copy.data(), nullptr};
  pid_t pid = 0;
  if (posix_spawn(&pid, shell, nullptr, nullptr, argv, environ) != 0) return;
  waitForChild(pid);
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
