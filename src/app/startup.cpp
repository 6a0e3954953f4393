#include "app/startup.h"

#include <dirent.h>
#include <fcntl.h>
#include <grp.h>
#include <pwd.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <clocale>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <optional>
#include <set>
#include <string>
#include <system_error>

#include "app/busy.h"
#include "app/files.h"
#include "app/i18n.h"
#include "app/rights.h"
#include "app/shell.h"
#include "app/widgets.h"

namespace {

const char* const kRefusal = "You are not authorized to use this applet";
// Left behind by older probes that wrote a process list there; never ours to keep.
const char* const kInstanceProbeFile = "/tmp/quillan.id";
// Where the package puts the program (the path polkit's action names), and what starts it as root.
const char* const kInstalledProgram = "/usr/bin/solvo-printer-mgr";
const char* const kPkexec = "/usr/bin/pkexec";
// Where the Samba print scripts live; made at every start, should it be missing.
const char* const kSambaScriptFolder = "/etc/dorvek/samba";

std::string baseName(const std::string& path) {
  const auto slash = path.rfind('/');
  return slash == std::string::npos ? path : path.substr(slash + 1);
}

// argv[0] of a process, from /proc; empty for kernel threads and zombies. Most processes are
// not ours, so only the head of the command line is read, where argv[0] ends.
std::string processProgramName(int procFolder, const char* pid) {
  char head[512];
  ssize_t length = -1;
  const int fd = openat(procFolder, (std::string(pid) + "/cmdline").c_str(), O_RDONLY | O_CLOEXEC);
  if (fd >= 0) {
    length = read(fd, head, sizeof head);
    close(fd);
  }
  if (length <= 0) return std::string();
  if (std::memchr(head, '\0', static_cast<std::size_t>(length)) != nullptr) return baseName(head);
  const auto cmdline = readWholeFile("/proc/" + std::string(pid) + "/cmdline");
  return cmdline ? baseName(std::string(cmdline->c_str())) : std::string();
}

// This process and those it was started from: a copy that waits for pkexec, and pkexec, are
// our own elevation, never a second copy.
std::set<std::string> selfAndAncestors() {
  std::set<std::string> lineage;
  for (pid_t pid = getpid(); pid > 1 && lineage.insert(std::to_string(pid)).second;) {
    const auto status = readWholeFile("/proc/" + std::to_string(pid) + "/status");
    pid = status ? parentProcessId(*status) : 0;
  }
  return lineage;
}

bool isProcessId(const char* name) {
  if (*name == '\0') return false;
  for (const char* c = name; *c != '\0'; ++c) {
    if (*c < '0' || *c > '9') return false;
  }
  return true;
}

void refuseUser() {
  std::fputs(kRefusal, stdout);
  std::fputs("\n", stdout);
  std::fflush(stdout);
  runCommand(std::string("xmessage -center -timeout 5 ") + kRefusal);
}

// "NAME: message" on standard error, for what happens before or instead of a window (the
// toolkit says nothing when it cannot open the display): all the user gets, so translated.
void reportLine(const char* programName, const std::string& message) {
  const std::string name = baseName(programName != nullptr ? programName : "solvo-printer-mgr");
  std::fprintf(stderr, "%s: %s\n", name.c_str(), message.c_str());
}

void reportNoDisplay(const char* programName) {
  reportLine(programName, _("cannot open the display"));
}

// An admitted user other than root could change nothing: the installed program asks pkexec to
// start it again as root (polkit decides and asks for a password). A copy from elsewhere (a
// build tree) is not handed over, as pkexec would start another file.
bool mayAskForRoot() {
  return !canChangeSystem() && pathExists(kPkexec) && runsInstalledProgram();
}

void reportCannotBecomeRoot(const char* programName, const std::string& reason) {
  reportLine(programName,
             formatted(_("cannot become root: polkit cannot be reached (%s)"), reason));
}

void setUpMessageCatalogue() {
  std::setlocale(LC_ALL, "");
  bindtextdomain(SPM_TEXT_DOMAIN, SPM_LOCALE_DIR);
  bind_textdomain_codeset(SPM_TEXT_DOMAIN, "UTF-8");
  textdomain(SPM_TEXT_DOMAIN);
}

GtkWidget* addPageBox(GtkWidget* notebook, const char* tabLabel) {
  GtkWidget* pageBox = gtk_vbox_new(FALSE, 0);
  gtk_widget_show(pageBox);
  gtk_notebook_append_page(GTK_NOTEBOOK(notebook), pageBox, nullptr);
  gtk_notebook_set_tab_label(GTK_NOTEBOOK(notebook), pageBox, gtk_label_new(tabLabel));
  return pageBox;
}

GtkWidget* buildWindowFrame() {
  GtkWidget* window = gtk_window_new(GTK_WINDOW_TOPLEVEL);
  gtk_window_set_resizable(GTK_WINDOW(window), FALSE);
  gtk_widget_set_size_request(window, 500, 380);
  gtk_container_set_border_width(GTK_CONTAINER(window), 2);
  gtk_window_set_title(GTK_WINDOW(window), _("Kelvane Printer Management"));
  gtk_window_set_position(GTK_WINDOW(window), GTK_WIN_POS_CENTER_ALWAYS);
  setWindowIcon(window);
  g_signal_connect(window, "destroy", G_CALLBACK(window_destroyed), nullptr);
  return window;
}

int runMainWindow(const PageBuilders& pages) {
  GtkWidget* window = buildMainWindow(pages);
  gtk_widget_show(window);
  gtk_main();
  return 0;
}

}  // namespace

bool runsInstalledProgram() {
  struct stat self {};
  struct stat installed {};
  return stat("/proc/self/exe", &self) == 0 && stat(kInstalledProgram, &installed) == 0 &&
         self.st_dev == installed.st_dev && self.st_ino == installed.st_ino;
}

bool user_authorized(const char* group_name) {
  const struct passwd* user = getpwuid(getuid());
  if (user == nullptr || user->pw_name == nullptr) return false;
  const std::string userName = user->pw_name;
  if (userName == "root") return true;
  const struct group* group = getgrnam(group_name);
  if (group == nullptr || group->gr_mem == nullptr) return false;
  for (char** member = group->gr_mem; *member != nullptr; ++member) {
    if (userName == *member) return true;
  }
  return false;
}

pid_t parentProcessId(const std::string& procStatus) {
  const auto line = procStatus.find("\nPPid:");
  if (line == std::string::npos) return 0;
  return static_cast<pid_t>(std::strtol(procStatus.c_str() + line + 6, nullptr, 10));
}

bool anotherInstanceRuns(const char* programName) {
  const std::string wanted = baseName(programName);
  const std::string self = std::to_string(getpid());
  // Our own ancestors are read from /proc only when a process of our name other than this one
  // turns up, which at a plain start none does.
  std::optional<std::set<std::string>> ours;
  bool found = false;
  if (DIR* proc = opendir("/proc")) {
    while (const struct dirent* entry = readdir(proc)) {
      if (!isProcessId(entry->d_name) || self == entry->d_name) continue;
      if (processProgramName(dirfd(proc), entry->d_name) != wanted) continue;
      if (!ours) ours = selfAndAncestors();
      if (ours->count(entry->d_name) == 0) {
        found = true;
        break;
      }
    }
    closedir(proc);
  }
  unlink(kInstanceProbeFile);
  return found;
}

void window_destroyed(GtkWidget* /*widget*/, gpointer /*data*/) {
  if (gtk_main_level() > 0) gtk_main_quit();
}

GtkWidget* mainNotebookOf(GtkWidget* mainWindow) {
  return findWidget(mainWindow, nullptr, 1);
}

GtkWidget* buildMainWindow(const PageBuilders& pages) {
  // From here on a slow command leaves the windows painted and busy rather than frozen.
  installBusyWait();
  GtkWidget* window = buildWindowFrame();
  GtkWidget* notebook = gtk_notebook_new();
  gtk_container_add(GTK_CONTAINER(window), notebook);
  gtk_widget_show(notebook);
  addReadOnlyNotice(notebook);
  if (pages.switchPage != nullptr) {
    g_signal_connect(notebook, "switch_page", G_CALLBACK(pages.switchPage), nullptr);
  }
  GtkWidget* printersPage = addPageBox(notebook, _("Printers"));
  if (pages.printers != nullptr) pages.printers(printersPage);
  // TRANSLATORS: notebook tab: the print jobs queued for a printer.
  GtkWidget* jobsPage = addPageBox(notebook, _("Jobs"));
  if (pages.jobs != nullptr) pages.jobs(jobsPage);
  if (pages.thinprint != nullptr) pages.thinprint(notebook, printersPage);
  return window;
}

int runApplication(int argc, char** argv, const PageBuilders& pages) {
  if (argc > 0 && anotherInstanceRuns(argv[0])) return 0;
  setUpMessageCatalogue();
  if (!user_authorized("admin")) {
    refuseUser();
    return 0;
  }
  const char* programName = argc > 0 ? argv[0] : nullptr;
  if (mayAskForRoot()) {
    // Nobody is asked for a password for a window that could not be shown.
    if (!gtk_init_check(&argc, &argv)) {
      reportNoDisplay(programName);
      return 0;
    }
    const std::string unreachable = polkitUnreachableReason();
    if (unreachable.empty()) {
      handOverToPkexec(kPkexec, kInstalledProgram);
      return 0;
    }
    reportCannotBecomeRoot(programName, unreachable);
    return runMainWindow(pages);
  }
  // Options of a copy started as root on a user's behalf are that user's: the toolkit gets none.
  if (std::getenv("PKEXEC_UID") != nullptr) argc = std::min(argc, 1);
  // By the system call, as "mkdir -p" makes it: starting that tool and waiting for it cost
  // milliseconds of every start.
  makeFolderWithParents(kSambaScriptFolder);
  if (!gtk_init_check(&argc, &argv)) {
    reportNoDisplay(programName);
    return 0;
  }
  return runMainWindow(pages);
}
