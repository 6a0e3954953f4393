// wait_mapped [-t SECONDS] TITLE -- CMD [ARG...]
// Runs CMD and waits until a top-level window titled TITLE is mapped, then prints
//   map_us=<microseconds from just before exec to the map> rss_kib=<child's peak RSS>
// and ends the child. The program under test gains no options: mapping is seen from outside.
#include <X11/Xatom.h>
#include <X11/Xlib.h>
#include <X11/Xutil.h>
#include <fcntl.h>
#include <poll.h>
#include <signal.h>
#include <sys/mman.h>
#include <sys/resource.h>
#include <sys/wait.h>
#include <time.h>
#include <unistd.h>

#include <cerrno>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <set>
#include <string>

namespace {

long long nowMicros() {
  timespec ts{};
  clock_gettime(CLOCK_MONOTONIC, &ts);
  return static_cast<long long>(ts.tv_sec) * 1000000LL + ts.tv_nsec / 1000;
}

// Windows can vanish between an event and our query; such errors are expected, not fatal.
int ignoreXError(Display* /*display*/, XErrorEvent* /*error*/) {
  return 0;
}

bool hasTitle(Display* display, Window window, const std::string& title) {
  static const Atom netWmName = XInternAtom(display, "_NET_WM_NAME", False);
  static const Atom utf8 = XInternAtom(display, "UTF8_STRING", False);
  Atom type = None;
  int format = 0;
  unsigned long count = 0, after = 0;
  unsigned char* data = nullptr;
  bool match = false;
  if (XGetWindowProperty(display, window, netWmName, 0, 1024, False, utf8, &type, &format, &count,
                         &after, &data) == Success &&
      data != nullptr) {
    match = type == utf8 && title == std::string(reinterpret_cast<char*>(data), count);
    XFree(data);
  }
  if (match) return true;
  char* name = nullptr;
  if (XFetchName(display, window, &name) != 0 && name != nullptr) {
    match = title == name;
    XFree(name);
  }
  return match;
}

// Waits for the child (polling, so a child that ignores SIGTERM still gets SIGKILL).
bool reap(pid_t child, int* status, rusage* usage, int timeoutMs) {
  for (int waited = 0;; waited += 10) {
    const pid_t got = wait4(child, status, WNOHANG, usage);
    if (got == child) return true;
    if (got < 0 && errno != EINTR) return false;
    if (waited >= timeoutMs) return false;
    usleep(10000);
  }
}

void endChild(pid_t child, int* status, rusage* usage) {
  kill(-child, SIGTERM);
  if (reap(child, status, usage, 5000)) return;
  kill(-child, SIGKILL);
  wait4(child, status, 0, usage);
}

int usage(const char* self) {
  std::fprintf(stderr, "usage: %s [-t SECONDS] TITLE -- CMD [ARG...]\n", self);
  return 2;
}

}  // namespace

int main(int argc, char** argv) {
  int arg = 1;
  double timeoutSeconds = 30;
  if (arg + 1 < argc && std::strcmp(argv[arg], "-t") == 0) {
    timeoutSeconds = std::atof(argv[arg + 1]);
    arg += 2;
  }
  if (arg + 2 >= argc || std::strcmp(argv[arg + 1], "--") != 0) return usage(argv[0]);
  const std::string title = argv[arg];
  char** command = argv + arg + 2;

  Display* display = XOpenDisplay(nullptr);
  if (display == nullptr) {
    std::fprintf(stderr, "wait_mapped: cannot open display\n");
    return 2;
  }
  XSetErrorHandler(ignoreXError);
  const Window root = DefaultRootWindow(display);
  // Listen before the child exists, so its first map cannot be missed.
  XSelectInput(display, root, SubstructureNotifyMask);
  XSync(display, False);
  fcntl(ConnectionNumber(display), F_SETFD, FD_CLOEXEC);

  // The child stamps the time itself, right before exec, into a page we share.
  auto* execStart = static_cast<long long*>(
      mmap(nullptr, sizeof(long long), PROT_READ | PROT_WRITE, MAP_SHARED | MAP_ANONYMOUS, -1, 0));
  if (execStart == MAP_FAILED) {
    std::perror("wait_mapped: mmap");
    return 2;
  }
  *execStart = 0;

  const pid_t child = fork();
  if (child < 0) {
    std::perror("wait_mapped: fork");
    return 2;
  }
  if (child == 0) {
    setpgid(0, 0);  // one group, so helpers it spawns end with it
    *execStart = nowMicros();
    execvp(command[0], command);
    std::perror("wait_mapped: exec");
    _exit(127);
  }
  setpgid(child, child);

  const long long deadline = nowMicros() + static_cast<long long>(timeoutSeconds * 1e6);
  std::set<Window> mappedUntitled;  // mapped before their title was set
  long long mappedAt = 0;
  int status = 0;
  rusage usageInfo{};
  bool exited = false;
  while (mappedAt == 0) {
    while (mappedAt == 0 && XPending(display) > 0) {
      XEvent event;
      XNextEvent(display, &event);
      const long long seen = nowMicros();
      if (event.type == CreateNotify) {
        XSelectInput(display, event.xcreatewindow.window, PropertyChangeMask);
      } else if (event.type == MapNotify && event.xmap.event == root) {
        if (hasTitle(display, event.xmap.window, title)) {
          mappedAt = seen;
        } else {
          mappedUntitled.insert(event.xmap.window);
        }
      } else if (event.type == UnmapNotify || event.type == DestroyNotify) {
        mappedUntitled.erase(event.type == UnmapNotify ? event.xunmap.window
                                                       : event.xdestroywindow.window);
      } else if (event.type == PropertyNotify && mappedUntitled.count(event.xproperty.window)) {
        if (hasTitle(display, event.xproperty.window, title)) mappedAt = seen;
      }
    }
    if (mappedAt != 0) break;
    if (wait4(child, &status, WNOHANG, &usageInfo) == child) {
      exited = true;
      break;
    }
    const long long left = deadline - nowMicros();
    if (left <= 0) break;
    pollfd pfd{ConnectionNumber(display), POLLIN, 0};
    // Short slices only to notice a dead child; X events wake us at once.
    poll(&pfd, 1, static_cast<int>(left / 1000 < 50 ? left / 1000 + 1 : 50));
  }

  if (!exited) endChild(child, &status, &usageInfo);
  XCloseDisplay(display);
  if (mappedAt == 0) {
    if (exited) {
      std::fprintf(stderr, "wait_mapped: %s ended (status %d) before mapping \"%s\"\n", command[0],
                   status, title.c_str());
    } else {
      std::fprintf(stderr, "wait_mapped: no window \"%s\" mapped within %g s\n", title.c_str(),
                   timeoutSeconds);
    }
    return 1;
  }
  std::printf("map_us=%lld rss_kib=%ld\n", mappedAt - *execStart, usageInfo.ru_maxrss);
  return 0;
}
