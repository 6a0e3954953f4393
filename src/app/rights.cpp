#include "app/rights.h"

#include <fcntl.h>
#include <gio/gio.h>
#include <poll.h>
#include <spawn.h>
#include <sys/wait.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <csignal>
#include <string>
#include <vector>

#include "app/i18n.h"

extern char** environ;

namespace {

const char* const kTextAgent = "/usr/bin/pkttyagent";
// Long enough for polkitd to be started on demand, short enough that a hung bus still ends
// in a window within seconds.
constexpr int kPolkitAnswerMs = 5000;
// The agent says it is registered by closing the descriptor; pkexec goes on without it later.
constexpr int kAgentRegistrationMs = 5000;

const char* const kOnlyRoot =
    N_("Only root can change printers. Start the program from the menu to be asked for your "
       "password, or as root.");

// Starts a program with the default disposition of the signals a terminal sends, which this
// process ignores while it waits; -1 when it cannot be started.
pid_t spawnProgram(std::vector<const char*> argv) {
  argv.push_back(nullptr);
  posix_spawnattr_t attributes;
  posix_spawnattr_init(&attributes);
  sigset_t terminalSignals;
  sigemptyset(&terminalSignals);
  sigaddset(&terminalSignals, SIGINT);
  sigaddset(&terminalSignals, SIGQUIT);
  posix_spawnattr_setsigdefault(&attributes, &terminalSignals);
  posix_spawnattr_setflags(&attributes, POSIX_SPAWN_SETSIGDEF);
  pid_t pid = -1;
  if (posix_spawn(&pid, argv[0], nullptr, &attributes, const_cast<char* const*>(argv.data()),
                  environ) != 0) {
    pid = -1;
  }
  posix_spawnattr_destroy(&attributes);
  return pid;
}

void waitForExit(pid_t pid) {
  while (pid > 0 && waitpid(pid, nullptr, 0) < 0 && errno == EINTR) {
  }
}

// Waits until the other end of the pipe is closed, or the time is up.
void waitForClose(int readEnd, int milliseconds) {
  struct pollfd watched {
    readEnd, POLLIN, 0
  };
  char byte;
  while (poll(&watched, 1, milliseconds) > 0 && read(readEnd, &byte, 1) > 0) {
  }
}

// polkit's text agent for this process; 0 when none was started. pkexec's own fallback prompt
// cannot complete for a user before polkit 124, so without a session agent this one must ask.
// Not as a "--fallback" agent: polkitd 122 never asks one registered for a process.
pid_t startTextAgent() {
  if (isatty(STDIN_FILENO) == 0 || access(kTextAgent, X_OK) != 0) return 0;
  int notify[2];
  if (pipe(notify) != 0) return 0;
  fcntl(notify[0], F_SETFD, FD_CLOEXEC);
  const std::string self = std::to_string(getpid());
  const std::string notifyFd = std::to_string(notify[1]);
  const pid_t agent =
      spawnProgram({kTextAgent, "--process", self.c_str(), "--notify-fd", notifyFd.c_str()});
  close(notify[1]);
  if (agent > 0) waitForClose(notify[0], kAgentRegistrationMs);
  close(notify[0]);
  return std::max(agent, 0);
}

// The error's message in one line, without a D-Bus error's name.
std::string takeErrorMessage(GError* error) {
  if (error == nullptr) return "unknown error";
  g_dbus_error_strip_remote_error(error);
  std::string message = error->message;
  g_error_free(error);
  std::replace(message.begin(), message.end(), '\n', ' ');
  return message;
}

}  // namespace

std::string polkitUnreachableReason() {
  // A connection of its own, closed after the one call: the shared one would end the program
  // whenever the bus went away later, read-only window and all.
  GError* error = nullptr;
  gchar* address = g_dbus_address_get_for_bus_sync(G_BUS_TYPE_SYSTEM, nullptr, &error);
  if (address == nullptr) return takeErrorMessage(error);
  GDBusConnection* bus = g_dbus_connection_new_for_address_sync(
      address,
      static_cast<GDBusConnectionFlags>(G_DBUS_CONNECTION_FLAGS_AUTHENTICATION_CLIENT |
                                        G_DBUS_CONNECTION_FLAGS_MESSAGE_BUS_CONNECTION),
      nullptr, nullptr, &error);
  g_free(address);
  if (bus == nullptr) return takeErrorMessage(error);
  // What pkexec asks first; the call starts polkitd where the bus can.
  GVariant* reply = g_dbus_connection_call_sync(
      bus, "org.freedesktop.PolicyKit1", "/org/freedesktop/PolicyKit1/Authority",
      "org.freedesktop.DBus.Properties", "Get",
      g_variant_new("(ss)", "org.freedesktop.PolicyKit1.Authority", "BackendName"), nullptr,
      G_DBUS_CALL_FLAGS_NONE, kPolkitAnswerMs, nullptr, &error);
  g_dbus_connection_close_sync(bus, nullptr, nullptr);
  g_object_unref(bus);
  if (reply == nullptr) return takeErrorMessage(error);
  g_variant_unref(reply);
  return std::string();
}

void handOverToPkexec(const char* pkexec, const char* program) {
  struct sigaction ignore {};
  struct sigaction oldInterrupt {};
  struct sigaction oldQuit {};
  ignore.sa_handler = SIG_IGN;
  sigaction(SIGINT, &ignore, &oldInterrupt);
  sigaction(SIGQUIT, &ignore, &oldQuit);
  const pid_t agent = startTextAgent();
  waitForExit(spawnProgram({pkexec, program}));
  if (agent > 0) {
    kill(agent, SIGTERM);
    waitForExit(agent);
  }
  sigaction(SIGINT, &oldInterrupt, nullptr);
  sigaction(SIGQUIT, &oldQuit, nullptr);
}

bool canChangeSystem() {
  return geteuid() == 0;
}

void offerOnlyToRoot(std::initializer_list<GtkWidget*> widgets) {
  if (canChangeSystem()) return;
  for (GtkWidget* widget : widgets) {
    gtk_widget_set_sensitive(widget, FALSE);
    gtk_widget_set_tooltip_text(widget, _(kOnlyRoot));
  }
}

void addReadOnlyNotice(GtkWidget* notebook) {
  if (canChangeSystem()) return;
  // TRANSLATORS: beside the tabs when the program runs without root and can change nothing.
  GtkWidget* notice = gtk_label_new(_("Read-only: not root"));
  gtk_misc_set_padding(GTK_MISC(notice), 4, 0);
  gtk_widget_set_tooltip_text(notice, _(kOnlyRoot));
  gtk_notebook_set_action_widget(GTK_NOTEBOOK(notebook), notice, GTK_PACK_END);
  gtk_widget_show(notice);
}
