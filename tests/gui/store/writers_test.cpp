// System files that are links or mounts on a thin client are written where they live.
#include <gtest/gtest.h>
#include <sys/stat.h>
#include <unistd.h>

#include "app/files.h"
#include "gui_support.h"
#include "printers/store_adapters.h"

// /var/persist: the writable partition; /run/ro: a read-only folder with a file mounted in. Each
// write lands in the second file (old mode kept, new 600); a link stays a link; errno says why.
TEST(ReplaceFile, WritesThroughLinksAndIntoMountedFiles) {
  ASSERT_EQ(
      std::system("mkdir -p /var/persist /run/ro && cd /var/persist && echo old > a && chmod "
                  "640 a && for f in b d e; do cp -p a $f; done && ln -s wl /etc/wl && ln -s "
                  "/var/persist/a /etc/wa && ln -s ../var/persist/b /etc/wb1 && ln -s wb1 "
                  "/etc/wb && ln -s /var/persist/c /etc/wc && touch /etc/wd && mount --bind d "
                  "/etc/wd && mount -t tmpfs ro /run/ro && touch /run/ro/e /run/ro/f && mount "
                  "--bind e /run/ro/e && mount -o remount,ro /run/ro"),
      0);
  const std::tuple<const char*, const char*, const char*, mode_t, int> cases[] = {
      {"/etc/wa", "/var/persist/a", "new\n", 0640, 0},    // a link
      {"/etc/wb", "/var/persist/b", "new\n", 0640, 0},    // a relative link of a link
      {"/etc/wc", "/var/persist/c", "new\n", 0600, 0},    // a dangling link
      {"/etc/wd", "/var/persist/d", "new\n", 0640, 0},    // a mounted file: its rename is EBUSY
      {"/run/ro/e", "/var/persist/e", "new\n", 0640, 0},  // no temporary file in its folder
      {"/run/ro/f", "/run/ro/f", "", 0644, EROFS},        // and the file not writable either
      {"/etc/wl", "/etc/wl", "none", 0, ELOOP}};          // a link to itself
  for (const auto& [path, lands, content, mode, error] : cases) {
    struct stat before = {}, after = {}, landed = {};
    lstat(path, &before);
    EXPECT_EQ(replaceFile(path, "new\n", 0600) ? 0 : errno, error) << path;
    EXPECT_EQ(readWholeFile(lands).value_or("none"), content) << path;
    stat(lands, &landed);
    EXPECT_EQ(landed.st_mode & 07777, mode) << path;
    EXPECT_EQ(lstat(path, &after) == 0 ? after.st_mode & S_IFMT : 0, before.st_mode & S_IFMT);
  }
  std::system("umount /run/ro/e /run/ro /etc/wd");
}

// A printcap the program did not write goes to printcap.orig at the first save, byte for byte
// with its mode and owner, and never again in the run; its own leaves an older copy alone. For a
// linked printcap (the link stays: above) the copy lands beside the file the link names.
TEST(ReplaceFile, KeepsAHandWrittenPrintcapOnceBeforeTheFirstSave) {
  const std::string hand = "lp|Laser:lp=/dev/lp0:pl#66:pw#80:af=/var/adm/lp.acct:\n";
  const std::tuple<std::string, std::string, bool> cases[] = {
      {golden("sample.printcap"), "/etc/printcap", false},
      {hand, "/etc/printcap", true},  // capabilities the program does not know
      {"lp\n  :lp=/dev/lp0\n  :sd=/var/spool/lpd/lp\n", "/etc/printcap", true},  // LPRng
      {"\n|Desk:lp=/dev/lp0:\n", "/etc/printcap", true},  // an entry without a name
      {hand, "/var/persist/printcap", true}};
  for (const auto& [text, file, kept] : cases) {
    std::system("rm -rf /etc/printcap* /var/persist; mkdir /var/persist");
    writeFile(file + ".orig", "older");
    writeFile(file, text);
    EXPECT_EQ(chmod(file.c_str(), 0640) + chown(file.c_str(), 7, 7) +
                  (file != "/etc/printcap" ? symlink(file.c_str(), "/etc/printcap") : 0),
              0);
    GtkWidget* table = gtk_clist_new(kPrinterColumns);
    readPrintcap(table);
    writePrintcap(table);
    struct stat st = {};
    stat((file + ".orig").c_str(), &st);
    EXPECT_EQ(readWholeFile(file + ".orig"), kept ? text : "older");
    EXPECT_TRUE(!kept || ((st.st_mode & 07777) == 0640 && st.st_uid == 7)) << text;
    unlink((file + ".orig").c_str());
    writePrintcap(table);
    EXPECT_FALSE(pathExists(file + ".orig") || pathExists("/etc/printcap.orig")) << text;
    destroyUnpacked(table);
  }
  // No copy, no rewrite: a folder in the copy's place keeps the hand-written printcap as it is.
  std::system("rm -rf /etc/printcap*; mkdir -p /etc/printcap.orig/x");
  writeFile("/etc/printcap", hand);
  rememberReadFile("/etc/printcap", hand, [](const std::string&) { return std::string(); });
  EXPECT_FALSE(replaceFile("/etc/printcap", "new\n"));
  EXPECT_EQ(readWholeFile("/etc/printcap"), hand);
  std::system("rm -rf /etc/printcap.orig");
}
