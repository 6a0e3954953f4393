#include <gtest/gtest.h>
#include <sys/stat.h>
#include <unistd.h>

#include "app/files.h"
#include "app/shell.h"

class Scratch : public testing::Test {
 protected:
  void SetUp() override {
    char pattern[] = "scratch.XXXXXX";  // in the build folder, never under /tmp
    ASSERT_NE(mkdtemp(pattern), nullptr);
    dir_ = std::string(get_current_dir_name()) + "/" + pattern;
  }
  void TearDown() override { runCommand("rm -rf " + shellQuote(dir_)); }
  std::string path(const std::string& name) const { return dir_ + "/" + name; }
  std::string read(const std::string& n) const { return readWholeFile(path(n)).value_or("?"); }
  std::string dir_;
};

TEST_F(Scratch, HostileValuesNeverRunASecondCommand) {
  const std::string m = path("marker");
  for (const std::string& value :
       {std::string(), "x; touch " + m, "$(touch " + m + ")", "`touch " + m + "`", "' ; touch " + m,
        "\"; touch " + m, "a\ntouch " + m, "x && touch " + m, "x | touch " + m, std::string("*"),
        "x' '$(touch " + m + ")"}) {
    runCommand("printf '%s' " + shellQuote(value) + " > " + shellQuote(path("out")));
    EXPECT_FALSE(pathExists(m)) << value;
    EXPECT_EQ(read("out"), value);  // arrives as one literal argument
  }
}

// A started line runs while the caller goes on; a line run meanwhile waits for it to end.
TEST_F(Scratch, StartedLinesPlainLinesAndMissingPrograms) {
  const std::string log = shellQuote(path("log"));
  const pid_t started = startCommand("sleep 0.3; echo first >> " + log);
  EXPECT_FALSE(pathExists(path("log")));
  runCommand("echo second >> " + log);
  EXPECT_EQ(read("log"), "first\nsecond\n");
  finishCommand(started);
  // A plain line runs without a shell; a missing program is still reported as the shell did.
  testing::internal::CaptureStderr();
  runCommand("spm-no-such-program -x");
  EXPECT_NE(testing::internal::GetCapturedStderr().find("spm-no-such-program: not found"),
            std::string::npos);
}

// As "mkdir -p": folders on the way get u+wx whatever the umask, the last one the umask's mode;
// made twice is no fault, and a file in the way stops it without a word.
TEST_F(Scratch, FoldersMadeAsMkdirPMakesThem) {
  const mode_t umaskBefore = umask(0377);
  makeFolderWithParents(path("a/b/c"));
  makeFolderWithParents(path("a/b/c"));
  umask(umaskBefore);
  const std::pair<std::string, mode_t> modes[] = {{"a", 0700}, {"a/b", 0700}, {"a/b/c", 0400}};
  for (const auto& [folder, mode] : modes) {
    struct stat st {};
    ASSERT_EQ(stat(path(folder).c_str(), &st), 0) << folder;
    EXPECT_EQ(st.st_mode & 07777, mode) << folder;
  }
  runCommand("touch " + shellQuote(path("file")));
  makeFolderWithParents(path("file/d"));
  EXPECT_FALSE(pathExists(path("file/d")));
}
