// /tmp attacks: nobody plants a link to a root-only file at each fixed /tmp path; the file stays
// as it was and the actions work. /tmp belongs to nobody meanwhile, or fs.protected_symlinks
// (no following another's link in a sticky folder of root) would hide a fault.
#include <sys/wait.h>

#include "jobs_window.h"

// The child execs ln: under valgrind a forked child that exits is checked for inherited leaks.
static int plantAsNobody(const char* path, const char* target) {
  if (fork() == 0) {
    if (setgid(65534) == 0 && setuid(65534) == 0)
      execl("/bin/ln", "ln", "-s", target, path, static_cast<char*>(nullptr));
    _exit(3);
  }
  int status = -1;
  wait(&status);
  return status;
}

TEST(TmpAttack, PlantedLinksChangeNothingAndTheActionsStillWork) {
  ASSERT_EQ(
      std::system("mkdir -p /usr/local/lib /usr/lib/lprng/filters && : > /usr/local/lib/a.ppd"
                  " && : > /dev/lp0 && : > /usr/lib/lprng/filters/lpf && rm -f "
                  "/usr/bin/foomatic-rip && chown nobody: /tmp && echo old > /etc/control && "
                  "echo secret > /etc/secret && chmod 600 /etc/secret && rm -f /tmp/lprqueue"),
      0);
  writeTool("/usr/local/stand-ins/lpq", "#!/bin/sh\necho 'Rank Pr/Class\n1st anna A 80 f 1 1'\n");
  writeTool("/usr/local/stand-ins/lpc", "#!/bin/sh\necho \"$2@h: stopped\"\n");
  const std::string searchPath = getenv("PATH");
  setenv("PATH", ("/usr/local/stand-ins:" + searchPath).c_str(), 1);
  // The control: here a plain redirection as root does write through such a link.
  ASSERT_EQ(plantAsNobody("/tmp/control", "/etc/control"), 0);
  ASSERT_EQ(std::system("echo pwned > /tmp/control"), 0);
  ASSERT_EQ(fileText("/etc/control"), "pwned\n");
  const char* paths[] = {"/tmp/prdev.list", "/tmp/filters.list", "/tmp/ppd.list",
                         "/tmp/lprqueue",   "/tmp/quillan.id",   "/tmp/lpcreply"};
  for (const char* path : paths) ASSERT_EQ(plantAsNobody(path, "/etc/secret"), 0);
  {
    PrintersPage page;
    page.open(-1);
    EXPECT_EQ(comboActiveText(page.field(kRowDevice)) + comboActiveText(page.field(kRowFilter)) +
                  comboActiveText(page.field(kRowPPD)),
              "/dev/lp0/usr/lib/lprng/filters/lpf/usr/local/lib/a.ppd");
  }
  GtkWidget* window = buildJobsWindow();
  gtk_notebook_set_current_page(GTK_NOTEBOOK(mainNotebookOf(window)), 1);
  settle();
  EXPECT_EQ(clistCell(jobTableOf(pageOf(window, 1)), 0, kJobOwner), "anna");
  DialogLog log;  // lpc's reply read: no refusal shown
  click(findWidget(printerActionRowOf(pageOf(window, 1)), nullptr, 1));
  settle();
  EXPECT_EQ(log.text(), "");
  gtk_widget_destroy(window);
  EXPECT_FALSE(anotherInstanceRuns("no-such-program"));
  chown("/tmp", 0, 0);
  setenv("PATH", searchPath.c_str(), 1);
  EXPECT_EQ(fileText("/etc/secret"), "secret\n");
  EXPECT_EQ(std::filesystem::status("/etc/secret").permissions(), std::filesystem::perms(0600));
  for (const char* path : paths) EXPECT_FALSE(pathExists(path)) << path;
}
