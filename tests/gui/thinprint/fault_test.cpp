// ThinPrint "Save" on an /etc that takes no write: the message, nothing changed, and the
// running client left alone.
#include <signal.h>
#include <spawn.h>
#include <sys/wait.h>

#include "faults.h"
#include "thinprint_fixture.h"

extern char** environ;

namespace tptest {
namespace {

TEST_F(ThinPrintPage, UnwritableEtcRefusesSaveAndLeavesTheClientRunning) {
  for (const auto kind : {BrokenEtc::kReadOnly, BrokenEtc::kFull}) {
    SCOPED_TRACE(kind);
    reset();
    writeFile(kThinPrintClient, "#!/bin/bash\nwhile :; do sleep 1; done\n");
    chmod(kThinPrintClient, 0755);
    writeFile(kThinPrintConf, "BANDWIDTH=1000\n/dev/lp0 Old\n");
    writeFile(kThinPrintScript, "#!/bin/sh\nold\n");
    char client[] = "/usr/share/thinprint/thnuclnt";
    char* argv[] = {client, nullptr};
    pid_t pid = 0;
    ASSERT_EQ(posix_spawn(&pid, client, nullptr, nullptr, argv, environ), 0);
    build();
    gtk_toggle_button_set_active(GTK_TOGGLE_BUTTON(tpEnableOf(page)), TRUE);
    setValue(tpPortDefaultOf(page), tpPortEntryOf(page), "4000");
    DialogLog log;
    CommandRecorder recorder(false);
    {
      BrokenEtc etc(kind);
      ASSERT_TRUE(etc.ok());
      click(tpSaveOf(column));
      EXPECT_EQ(strayTemps(), 0);
    }
    EXPECT_EQ(log.text(),
              "Error: Read only filesystem: Cannot write ThinPrint configuration to /etc/dorvek "
              "folder.\n");
    EXPECT_EQ(readFile(kThinPrintConf), "BANDWIDTH=1000\n/dev/lp0 Old\n");
    EXPECT_EQ(readFile(kThinPrintScript), "#!/bin/sh\nold\n");
    EXPECT_EQ(recorder.lines(), std::vector<std::string>{});
    EXPECT_EQ(waitpid(pid, nullptr, WNOHANG), 0);  // still running
    kill(pid, SIGKILL);
    waitpid(pid, nullptr, 0);
  }
}

}  // namespace
}  // namespace tptest
