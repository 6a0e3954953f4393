// /tmp attacks: before each action that uses a fixed path under /tmp, the unprivileged user
// "nobody" plants a symlink there pointing at a root-only file. The file must stay as it was
// and the action must still work.
//
// The kernel's fs.protected_symlinks would stop root from following nobody's link in a sticky
// folder owned by root, and hide whether our code is safe. So /tmp (the sandbox's own tmpfs)
// belongs to nobody during the test, where that protection does not apply, and a control case
// proves that a plain "> path" redirection as root does write through such a link.
#include <gtest/gtest.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cstdlib>
#include <functional>
#include <string>

#include "app/files.h"
#include "app/startup.h"
#include "jobs/jobs_page.h"
#include "printers/printers_fixture.h"

namespace {

const uid_t kNobody = 65534;
const char* const kCanary = "/etc/spm-shadow";
const std::string kCanaryText = "root:$6$secret:19000:0:99999:7:::\n";
const char* const kStandIns = "/usr/local/tmp-attack-bin";

// Plants path -> target as nobody, from a child process that gave up root for good. The child
// execs ln rather than returning: under valgrind a forked child that exits is checked for leaks
// it inherited, and its exit status would say so.
void plantAsNobody(const std::string& path, const std::string& target) {
  const pid_t child = fork();
  if (child == 0) {
    if (setgid(kNobody) != 0 || setuid(kNobody) != 0 || getuid() != kNobody) _exit(2);
    execl("/bin/ln", "ln", "-s", "--", target.c_str(), path.c_str(), static_cast<char*>(nullptr));
    _exit(3);
  }
  int status = -1;
  waitpid(child, &status, 0);
  ASSERT_EQ(status, 0) << "nobody could not plant " << path;
  struct stat st {};
  ASSERT_EQ(lstat(path.c_str(), &st), 0);
  ASSERT_TRUE(S_ISLNK(st.st_mode));
  ASSERT_EQ(st.st_uid, kNobody);
}

void expectCanaryUntouched() {
  struct stat st {};
  ASSERT_EQ(lstat(kCanary, &st), 0);
  EXPECT_TRUE(S_ISREG(st.st_mode));
  EXPECT_EQ(st.st_mode & 07777, 0600u);
  EXPECT_EQ(st.st_uid, 0u);
  EXPECT_EQ(fileText(kCanary), kCanaryText);
}

class TmpAttack : public testing::Test {
 protected:
  void SetUp() override {
    ASSERT_EQ(std::system("mkdir -p /usr/lib/lprng/filters /usr/local/lib /dev/usb "
                          "/usr/local/tmp-attack-bin && : > /dev/lp0 && "
                          ": > /usr/lib/lprng/filters/lpf && : > /usr/local/lib/laser.ppd && "
                          "rm -f /usr/bin/foomatic-rip"),
              0);
    writeFile(kCanary, kCanaryText);
    ASSERT_EQ(chmod(kCanary, 0600), 0);
    // Spooler stand-ins: lpq reports one job, the others do nothing.
    const std::string lpq =
        "#!/bin/sh\nprintf ' Rank Owner/ID Pr/Class Job Files Size Time\\n"
        "1st anna A 80 letter.txt 2048 07:04:10\\nError: cannot open /dev/lp9\\n'\n";
    for (const char* tool : {"lpq", "lprm", "lpr", "lpd", "checkpc"}) {
      const std::string path = std::string(kStandIns) + "/" + tool;
      writeFile(path, std::string(tool) == "lpq" ? lpq : "#!/bin/sh\n");
      ASSERT_EQ(chmod(path.c_str(), 0755), 0);
    }
    path_ = getenv("PATH");
    setenv("PATH", (std::string(kStandIns) + ":" + path_).c_str(), 1);
    ASSERT_EQ(chmod("/tmp", 01777), 0);
    ASSERT_EQ(chown("/tmp", kNobody, kNobody), 0);
    writeFile("/etc/printcap", "office|Office:\\\n\t:lp=/dev/lp0:\\\n\t:sh:\n");
    row_n = 0;
    jrow_n = 0;
    CommandRecorder quiet;
    window_ =
        buildMainWindow(PageBuilders{drawprinterlist, drawprintjobs, nullptr, tabpage_switched});
    notebook_ = mainNotebookOf(window_);
  }
  void TearDown() override {
    if (GtkWidget* open = editor()) gtk_widget_destroy(open);
    gtk_widget_destroy(window_);
    pumpEvents();
    chown("/tmp", 0, 0);
    setenv("PATH", path_.c_str(), 1);
  }
  GtkWidget* editor() const {
    GList* windows = gtk_window_list_toplevels();
    GtkWidget* found = nullptr;
    for (GList* w = windows; w != nullptr; w = w->next) {
      if (gtk_window_get_transient_for(GTK_WINDOW(w->data)) == GTK_WINDOW(window_)) {
        found = GTK_WIDGET(w->data);
      }
    }
    g_list_free(windows);
    return found;
  }
  GtkWidget* openAdd() {
    gtk_button_clicked(
        GTK_BUTTON(widgetAt(gtk_notebook_get_nth_page(GTK_NOTEBOOK(notebook_), 0), {3, 1})));
    pumpEvents();
    return printerInfoBoxOf(findWidget(editor(), nullptr, 1));
  }

  std::string path_;
  GtkWidget *window_ = nullptr, *notebook_ = nullptr;
};

}  // namespace

// Without our care, root's redirection would go through nobody's link: the setup is live.
TEST_F(TmpAttack, ControlRootWritesThroughAPlantedLinkHere) {
  writeFile("/etc/spm-control", "old\n");
  plantAsNobody("/tmp/control", "/etc/spm-control");
  ASSERT_EQ(std::system("echo pwned > /tmp/control"), 0);
  EXPECT_EQ(fileText("/etc/spm-control"), "pwned\n");
}

TEST_F(TmpAttack, PlantedLinksChangeNothingAndTheActionsStillWork) {
  struct Case {
    const char* path;
    std::function<void()> actAndCheck;
  } cases[] = {
      {"/tmp/prdev.list",
       [&] { EXPECT_EQ(comboItems(infoFieldOf(openAdd(), kRowDevice)), Lines{"/dev/lp0"}); }},
      {"/tmp/filters.list",
       [&] {
         EXPECT_EQ(comboItems(infoFieldOf(openAdd(), kRowFilter)),
                   (Lines{"/usr/lib/lprng/filters/lpf", "None"}));
       }},
      {"/tmp/ppd.list",
       [&] {
         EXPECT_EQ(comboItems(infoFieldOf(openAdd(), kRowPPD)),
                   (Lines{"/usr/local/lib/laser.ppd", "None"}));
       }},
      {"/tmp/lprqueue",  // the Jobs page's listing
       [&] {
         gtk_notebook_set_current_page(GTK_NOTEBOOK(notebook_), 1);
         GtkWidget* jobs = jobTableOf(gtk_notebook_get_nth_page(GTK_NOTEBOOK(notebook_), 1));
         ASSERT_EQ(clistRows(jobs), 1);
         EXPECT_EQ(clistCell(jobs, 0, kJobOwner), "anna");
       }},
      {"/tmp/lprqueue",  // the test print's check of the queue
       [&] {
         GtkWidget* info = openAdd();
         gtk_entry_set_text(GTK_ENTRY(infoFieldOf(info, kRowName)), "t1");
         DialogAnswer answer;
         answerNextDialog(GTK_RESPONSE_ACCEPT, &answer);
         gtk_button_clicked(GTK_BUTTON(
             findWidget(editorButtonRowOf(findWidget(editor(), nullptr, 1)), nullptr, 2)));
         EXPECT_EQ(answer.message, "Error: cannot open /dev/lp9\n");
       }},
      {"/tmp/quillan.id",  // the single-instance check at start-up
       [&] { EXPECT_FALSE(anotherInstanceRuns("no-such-program")); }},
  };
  for (Case& c : cases) {
    SCOPED_TRACE(c.path);
    plantAsNobody(c.path, kCanary);
    {
      CommandRecorder real(false);
      c.actAndCheck();
    }
    if (GtkWidget* open = editor()) gtk_widget_destroy(open);
    gtk_notebook_set_current_page(GTK_NOTEBOOK(notebook_), 0);
    pumpEvents();
    expectCanaryUntouched();
    EXPECT_FALSE(pathExists(c.path)) << "left behind";
  }
}
