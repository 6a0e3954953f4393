// Faults of the system for the GUI tests: a read-only or full /etc, and stray temporary files.
#pragma once

#include <gtk/gtk.h>
#include <sched.h>
#include <sys/mount.h>
#include <sys/stat.h>

#include <cstdio>
#include <filesystem>
#include <regex>
#include <string>

// A death test's child keeps its mounts to itself.
inline bool privateMounts() {
  return unshare(CLONE_NEWNS) == 0 && mount("none", "/", "none", MS_REC | MS_PRIVATE, nullptr) == 0;
}

// /etc read-only, or full (a filled 64 KiB tmpfs over it takes the writes). Undone when destroyed.
class BrokenEtc {
 public:
  enum Kind { kReadOnly, kFull };
  explicit BrokenEtc(Kind kind) {
    if (kind == kReadOnly) {
      etc_ = mount("/etc", "/etc", "none", MS_BIND, nullptr) == 0;
      ok_ = etc_ && mount("none", "/etc", "none", MS_REMOUNT | MS_BIND | MS_RDONLY, nullptr) == 0;
      return;
    }
    mkdir("/run/full-etc", 0700);
    scratch_ = mount("tmpfs", "/run/full-etc", "tmpfs", 0, "size=64k") == 0;
    ok_ = etc_ = scratch_ && mkdir("/run/full-etc/u", 0755) == 0 &&
                 mkdir("/run/full-etc/w", 0755) == 0 &&
                 mount("overlay", "/etc", "overlay", 0,
                       "lowerdir=/etc,upperdir=/run/full-etc/u,workdir=/run/full-etc/w") == 0;
    FILE* filler = ok_ ? std::fopen("/etc/.filler", "w") : nullptr;
    while (filler != nullptr && std::fputs(std::string(4096, 'x').c_str(), filler) >= 0) {
    }
    if (filler != nullptr) std::fclose(filler);
  }
  // Only what was mounted here: unmounting /etc blindly could uncover the one beneath.
  ~BrokenEtc() {
    if (etc_) umount2("/etc", MNT_DETACH);
    if (scratch_) umount2("/run/full-etc", MNT_DETACH);
  }
  bool ok() const { return ok_; }

 private:
  bool ok_ = false, etc_ = false, scratch_ = false;
};

// Temporary files of replacements (".NAME.XXXXXX") left beside the system files.
inline int strayTemps() {
  int count = 0;
  std::error_code none;
  for (const char* folder : {"/etc", "/etc/dorvek", "/etc/dorvek/samba", "/etc/init.d"}) {
    for (const auto& entry : std::filesystem::directory_iterator(folder, none)) {
      count += std::regex_match(entry.path().filename().string(), std::regex("\\..+\\.[^.]{6}"));
    }
  }
  return count;
}
