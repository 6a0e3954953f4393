// The shell runner's quoting, the /tmp claim and atomic replacement, in a scratch folder.
#include <fcntl.h>
#include <gtest/gtest.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cstdlib>
#include <string>

#include "app/files.h"
#include "app/shell.h"

namespace {

class Scratch : public testing::Test {
 protected:
  void SetUp() override {
    char pattern[] = "scratch.XXXXXX";  // in the build folder, never under /tmp
    ASSERT_NE(mkdtemp(pattern), nullptr);
    dir_ = std::string(get_current_dir_name()) + "/" + pattern;
  }
  void TearDown() override { std::system(("rm -rf '" + dir_ + "'").c_str()); }
  std::string path(const std::string& name) const { return dir_ + "/" + name; }
  std::string dir_;
};

}  // namespace

TEST(ShellQuote, OrdinaryValuesStayBare) {
  for (const char* value : {"office", "/var/spool/lpd/laser-2", "a.b_c", "q@host", "x=1,y:2+3%"}) {
    EXPECT_EQ(shellQuote(value), value);
  }
  EXPECT_EQ(shellQuote(""), "''");
  EXPECT_EQ(shellQuote("a b"), "'a b'");
  EXPECT_EQ(shellQuote("it's"), "'it'\\''s'");
}

TEST_F(Scratch, HostileValuesNeverRunASecondCommand) {
  const std::string marker = path("marker");
  const std::string out = path("out");
  const std::string hostile[] = {
      "x; touch " + marker,          "$(touch " + marker + ")", "`touch " + marker + "`",
      "' ; touch " + marker,         "\"; touch " + marker,     "a\ntouch " + marker,
      "x && touch " + marker,        "x | touch " + marker,     "*",
      "x' '$(touch " + marker + ")",
  };
  for (const auto& value : hostile) {
    runCommand("printf '%s' " + shellQuote(value) + " > " + shellQuote(out));
    EXPECT_FALSE(pathExists(marker)) << value;
    EXPECT_EQ(readWholeFile(out).value_or("?"), value);  // arrives as one literal argument
  }
}

// A started line runs while the caller goes on; a line run meanwhile waits for it to end
// (never two at once), and finishing collects it whichever way it ended.
TEST_F(Scratch, StartedLineRunsAlongsideAndAnotherWaitsForIt) {
  const std::string log = shellQuote(path("log"));
  const pid_t started = startCommand("sleep 0.3; echo first >> " + log);
  ASSERT_GT(started, 0);
  EXPECT_TRUE(commandRunning());
  EXPECT_FALSE(pathExists(path("log")));  // the caller went on before the line ended
  runCommand("echo second >> " + log);
  EXPECT_EQ(readWholeFile(path("log")).value_or("?"), "first\nsecond\n");
  EXPECT_TRUE(commandRunning());  // not yet collected
  finishCommand(started);
  EXPECT_FALSE(commandRunning());

  setCommandObserver([](const std::string&) { return true; });
  const pid_t swallowed = startCommand("echo third >> " + log);
  setCommandObserver(nullptr);
  EXPECT_EQ(swallowed, 0);
  finishCommand(swallowed);
  EXPECT_FALSE(commandRunning());
}

// Plain lines skip the shell; what the shell would have done must not change: arguments as
// words, a missing program reported by the shell as before, builtins and assignments still the
// shell's.
TEST_F(Scratch, PlainLinesRunAsTheShellWouldHaveRunThem) {
  runCommand("mkdir -p " + path("a/b") + " " + path("c"));
  EXPECT_TRUE(pathExists(path("a/b")));
  EXPECT_TRUE(pathExists(path("c")));

  testing::internal::CaptureStderr();
  runCommand("spm-no-such-program -x");
  EXPECT_NE(testing::internal::GetCapturedStderr().find("spm-no-such-program: not found"),
            std::string::npos);

  const std::string out = shellQuote(path("out"));
  runCommand("cd " + path("a") + " && pwd > " + out);
  EXPECT_EQ(readWholeFile(path("out")).value_or("?"), path("a") + "\n");
  runCommand("MARK=set sh -c 'echo $MARK' > " + out);
  EXPECT_EQ(readWholeFile(path("out")).value_or("?"), "set\n");
}

TEST(CommandObserver, SeesTheLineAndMaySwallowIt) {
  std::string seen;
  setCommandObserver([&](const std::string& line) {
    seen = line;
    return true;
  });
  runCommand("exit 3");
  setCommandObserver(nullptr);
  EXPECT_EQ(seen, "exit 3");
}

TEST_F(Scratch, ClaimRemovesAPlantedLinkAndLeavesItsTargetAlone) {
  const std::string target = path("precious");
  const std::string fixed = path("listing");
  ASSERT_TRUE(replaceFile(target, "keep me\n"));
  ASSERT_EQ(symlink(target.c_str(), fixed.c_str()), 0);
  ASSERT_EQ(lchown(fixed.c_str(), 65534, 65534), 0);  // planted by "nobody"
  ASSERT_TRUE(claimTempFile(fixed));
  struct stat st;
  ASSERT_EQ(lstat(fixed.c_str(), &st), 0);
  EXPECT_TRUE(S_ISREG(st.st_mode));
  EXPECT_EQ(st.st_mode & 0777, 0600u);
  EXPECT_EQ(st.st_uid, getuid());
  runCommand("echo listed > " + fixed);
  EXPECT_EQ(readWholeFile(target).value(), "keep me\n");
  EXPECT_EQ(readWholeFile(fixed).value(), "listed\n");
  // A link is never followed when reading a fixed path either.
  ASSERT_EQ(unlink(fixed.c_str()), 0);
  ASSERT_EQ(symlink(target.c_str(), fixed.c_str()), 0);
  EXPECT_FALSE(readWholeFile(fixed, true).has_value());
}

TEST_F(Scratch, ReplaceLandsContentAndKeepsOrSetsTheMode) {
  const std::string file = path("printcap");
  ASSERT_TRUE(replaceFile(file, "new\n", 0750));
  struct stat st;
  ASSERT_EQ(stat(file.c_str(), &st), 0);
  EXPECT_EQ(st.st_mode & 0777, 0750u);
  ASSERT_EQ(chmod(file.c_str(), 0640), 0);
  ASSERT_TRUE(replaceFile(file, "newer\n", 0755));
  ASSERT_EQ(stat(file.c_str(), &st), 0);
  EXPECT_EQ(st.st_mode & 0777, 0640u);  // an existing file keeps its mode
  EXPECT_EQ(readWholeFile(file).value(), "newer\n");
}

TEST_F(Scratch, ReplaceWithoutItsFolderFailsAndLeavesNoTemporaryFile) {
  EXPECT_FALSE(replaceFile(path("missing-folder/printcap"), "x"));
  EXPECT_EQ(std::system(("test -z \"$(ls -A '" + dir_ + "')\"").c_str()), 0);
}
