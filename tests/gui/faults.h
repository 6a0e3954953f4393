// Faults of the system for the GUI tests: a read-only or full /etc, and stray temporary files.
#pragma once

#include <sched.h>
#include <sys/mount.h>

#include <cstdlib>

// A death test's child keeps its mounts to itself.
inline bool privateMounts() {
  return unshare(CLONE_NEWNS) == 0 && mount("none", "/", "none", MS_REC | MS_PRIVATE, nullptr) == 0;
}

// /etc read-only, or full (a filled 64 KiB tmpfs over it takes the writes). Undone when
// destroyed, and only if made: unmounting /etc blindly could uncover the one beneath.
class BrokenEtc {
 public:
  enum Kind { kReadOnly, kFull };
  explicit BrokenEtc(Kind kind) : full_(kind == kFull) {
    ok_ = std::system(full_ ? "mkdir -p /run/full && mount -t tmpfs -o size=64k tmpfs /run/full && "
                              "mkdir /run/full/u /run/full/w && mount -t overlay overlay -o "
                              "lowerdir=/etc,upperdir=/run/full/u,workdir=/run/full/w /etc && "
                              "{ cat /dev/zero > /etc/.filler 2> /dev/null; true; }"
                            : "mount --bind /etc /etc && mount -o remount,bind,ro /etc") == 0;
  }
  ~BrokenEtc() {
    if (ok_) std::system(full_ ? "umount -l /etc /run/full" : "umount -l /etc");
  }
  bool ok() const { return ok_; }

 private:
  bool full_, ok_;
};

// Temporary files of replacements (".NAME.XXXXXX") left beside the system files: 1, else 0.
inline int strayTemps() {
  return std::system(
             "find /etc /etc/dorvek /etc/dorvek/samba /etc/init.d -maxdepth 1 "
             "-name '.*.\?\?\?\?\?\?' 2> /dev/null | grep -q .") == 0;
}
