// System files that are links or mounts on a thin client are written where they live.
#include <gtest/gtest.h>
#include <sys/stat.h>

#include <cerrno>
#include <cstdlib>

#include "app/files.h"

namespace {
mode_t kindOf(const char* path) {
  struct stat st {};
  lstat(path, &st);
  return st.st_mode & S_IFMT;
}
}  // namespace

// /var/persist stands for the writable partition; /run/ro for a read-only folder holding a file
// mounted in from it. Each write must land in the file named last (old mode kept, a new file
// 600), the written path keeping its kind (a link stays a link); errno names any failure.
TEST(ReplaceFile, WritesThroughLinksAndIntoMountedFiles) {
  ASSERT_EQ(std::system("mkdir -p /var/persist /run/ro && cd /var/persist && echo old > a && "
                        "chmod 640 a && for f in b d e; do cp -p a $f; done && "
                        "ln -s /var/persist/a /etc/wa && ln -s ../var/persist/b /etc/wb1 && "
                        "ln -s wb1 /etc/wb && ln -s /var/persist/c /etc/wc && ln -s wl /etc/wl && "
                        "touch /etc/wd && mount --bind d /etc/wd && mount -t tmpfs ro /run/ro && "
                        "touch /run/ro/e /run/ro/f && mount --bind e /run/ro/e && "
                        "mount -o remount,ro /run/ro"),
            0);
  const struct {
    const char *path, *lands, *content;
    mode_t mode;
    int error;
  } cases[] = {{"/etc/wa", "/var/persist/a", "new\n", 0640, 0},  // a link
               {"/etc/wb", "/var/persist/b", "new\n", 0640, 0},  // a relative link of a link
               {"/etc/wc", "/var/persist/c", "new\n", 0600, 0},  // a dangling link
               {"/etc/wd", "/var/persist/d", "new\n", 0640, 0},  // a mounted file: EBUSY
               {"/run/ro/e", "/var/persist/e", "new\n", 0640, 0},
               {"/run/ro/f", "/run/ro/f", "", 0644, EROFS},
               {"/etc/wl", "/etc/wl", "none", 0, ELOOP}};
  for (const auto& c : cases) {
    const mode_t kind = kindOf(c.path);
    errno = 0;
    EXPECT_EQ(replaceFile(c.path, "new\n", 0600), c.error == 0) << c.path;
    EXPECT_EQ(c.error == 0 ? 0 : errno, c.error) << c.path;
    EXPECT_EQ(readWholeFile(c.lands).value_or("none"), c.content) << c.path;
    struct stat st {};
    stat(c.lands, &st);
    EXPECT_EQ(st.st_mode & 07777, c.mode) << c.path;
    EXPECT_EQ(kindOf(c.path), kind) << c.path;
  }
  std::system("umount /run/ro/e /run/ro /etc/wd");
}
