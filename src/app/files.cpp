#include "app/files.h"

#include <dirent.h>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstdlib>
#include <vector>

namespace {

// Retries a system call that a signal interrupted.
template <typename Call>
auto retryOnEintr(Call call) {
  for (;;) {
    auto result = call();
    if (result >= 0 || errno != EINTR) return result;
  }
}

bool writeAll(int fd, const std::string& content) {
  std::size_t done = 0;
  while (done < content.size()) {
    const ssize_t n =
        retryOnEintr([&] { return write(fd, content.data() + done, content.size() - done); });
    if (n <= 0) return false;
    done += static_cast<std::size_t>(n);
  }
  return true;
}

std::string folderOf(const std::string& path) {
  const auto slash = path.rfind('/');
  if (slash == std::string::npos) return ".";
  return slash == 0 ? "/" : path.substr(0, slash);
}

std::string baseNameOf(const std::string& path) {
  const auto slash = path.rfind('/');
  return slash == std::string::npos ? path : path.substr(slash + 1);
}

void syncFolder(const std::string& folder) {
  const int fd = open(folder.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
  if (fd < 0) return;
  fsync(fd);
  close(fd);
}

// Temporary files of earlier replacements of path that a crash stopped before their rename.
// Only one copy of the program runs, so none of them is still being written.
void removeStaleTemps(const std::string& folder, const std::string& base) {
  DIR* dir = opendir(folder.c_str());
  if (dir == nullptr) return;
  const std::string prefix = "." + base + ".";
  while (const struct dirent* entry = readdir(dir)) {
    const std::string name = entry->d_name;
    if (name.size() == prefix.size() + 6 && name.compare(0, prefix.size(), prefix) == 0) {
      unlinkat(dirfd(dir), entry->d_name, 0);
    }
  }
  closedir(dir);
}

// Removes whatever is at path without following it: a file, a link, or an empty folder.
bool removeAnything(const std::string& path) {
  struct stat st;
  if (lstat(path.c_str(), &st) != 0) return errno == ENOENT;
  if (S_ISDIR(st.st_mode)) return rmdir(path.c_str()) == 0;
  return unlink(path.c_str()) == 0 || errno == ENOENT;
}

}  // namespace

bool canOpenForReading(const std::string& path) {
  const int fd = open(path.c_str(), O_RDONLY | O_CLOEXEC);
  if (fd < 0) return false;
  close(fd);
  return true;
}

bool pathExists(const std::string& path) {
  struct stat st;
  return lstat(path.c_str(), &st) == 0;
}

std::optional<std::string> readWholeFile(const std::string& path, bool noFollow) {
  const int fd = open(path.c_str(), O_RDONLY | O_CLOEXEC | (noFollow ? O_NOFOLLOW : 0));
  if (fd < 0) return std::nullopt;
  std::string content;
  std::vector<char> buffer(65536);
  for (;;) {
    const ssize_t n = retryOnEintr([&] { return read(fd, buffer.data(), buffer.size()); });
    if (n <= 0) break;
    content.append(buffer.data(), static_cast<std::size_t>(n));
  }
  close(fd);
  return content;
}

bool claimTempFile(const std::string& path) {
  for (int attempt = 0; attempt < 3; ++attempt) {
    if (!removeAnything(path)) return false;
    const int fd = retryOnEintr([&] {
      return open(path.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_NOFOLLOW | O_CLOEXEC, 0600);
    });
    if (fd >= 0) {
      close(fd);
      return true;
    }
    if (errno != EEXIST) return false;  // somebody raced us to the path: remove and try again
  }
  return false;
}

bool replaceFile(const std::string& path, const std::string& content, mode_t modeIfNew) {
  struct stat old;
  const bool hadOld = stat(path.c_str(), &old) == 0 && S_ISREG(old.st_mode);
  removeStaleTemps(folderOf(path), baseNameOf(path));
  std::string temp = folderOf(path) + "/." + baseNameOf(path) + ".XXXXXX";
  const int fd = mkostemp(temp.data(), O_CLOEXEC);
  if (fd < 0) return false;
  bool ok = writeAll(fd, content) && fsync(fd) == 0;
  ok = ok && fchmod(fd, hadOld ? (old.st_mode & 07777) : modeIfNew) == 0;
  if (ok && hadOld && fchown(fd, old.st_uid, old.st_gid) != 0) {
    // Keeping the owner is a courtesy; the content and mode are what matter.
  }
  ok = close(fd) == 0 && ok;
  ok = ok && rename(temp.c_str(), path.c_str()) == 0;
  if (!ok) {
    unlink(temp.c_str());
    return false;
  }
  syncFolder(folderOf(path));
  return true;
}
