// System files that are links or mounts on a thin client are written where they live.
#include <gtest/gtest.h>
#include <sys/stat.h>

#include "app/files.h"

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
