#include "app/files.h"

#include <dirent.h>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstdlib>
#include <filesystem>
#include <map>
#include <utility>
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

// So that the next folder can be made inside it, whatever the umask took away.
void letOwnerEnter(const std::string& folder) {
  struct stat st;
  const mode_t enter = S_IWUSR | S_IXUSR;
  if (stat(folder.c_str(), &st) == 0 && (st.st_mode & enter) != enter) {
    chmod(folder.c_str(), (st.st_mode & 07777) | enter);
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

// Links deeper than this count as a loop, as the kernel's own limit does.
constexpr int kMaxLinkHops = 40;

enum class Replacement { kDone, kFailed, kNotHere };

// Errors that say the folder takes no new file, or the path is a mount point or on another file
// system than its folder: not a fault of the disk, so the file may still be written in place.
bool folderRefuses(int error) {
  return error == EROFS || error == EACCES || error == EPERM;
}
bool mountRefusesRename(int error) {
  return error == EBUSY || error == EXDEV;
}

// Mode and owner a replacement gets.
struct Ownership {
  mode_t mode;
  uid_t uid;
  gid_t gid;
};

std::optional<Ownership> ownershipOf(const std::string& path) {
  struct stat st;
  if (stat(path.c_str(), &st) != 0 || !S_ISREG(st.st_mode)) return std::nullopt;
  return Ownership{st.st_mode & 07777, st.st_uid, st.st_gid};
}

// Writes a temporary file beside path, flushes it and renames it over path: a crash leaves the
// old file or the new one. It gets `as`, else the old file's mode and owner, else modeIfNew.
// kNotHere when the folder or a mount forbids it; errno says why.
Replacement replaceAtomically(const std::string& path, const std::string& content, mode_t modeIfNew,
                              std::optional<Ownership> as) {
  if (!as) as = ownershipOf(path);
  removeStaleTemps(folderOf(path), baseNameOf(path));
  std::string temp = folderOf(path) + "/." + baseNameOf(path) + ".XXXXXX";
  const int fd = mkostemp(temp.data(), O_CLOEXEC);
  if (fd < 0) return folderRefuses(errno) ? Replacement::kNotHere : Replacement::kFailed;
  bool ok = writeAll(fd, content) && fsync(fd) == 0;
  ok = ok && fchmod(fd, as ? as->mode : modeIfNew) == 0;
  if (ok && as && fchown(fd, as->uid, as->gid) != 0) {
    // Keeping the owner is a courtesy; the content and mode are what matter.
  }
  int error = ok ? 0 : errno;
  if (close(fd) != 0 && ok) {
    ok = false;
    error = errno;
  }
  const bool renamed = ok && rename(temp.c_str(), path.c_str()) == 0;
  if (ok && !renamed) error = errno;
  if (!renamed) {
    unlink(temp.c_str());
    errno = error;
    return ok && mountRefusesRename(error) ? Replacement::kNotHere : Replacement::kFailed;
  }
  syncFolder(folderOf(path));
  return Replacement::kDone;
}

// The fallback where no replacement is possible: the file truncated, written and flushed where
// it is. Its mode and owner stay as they are. errno says why it failed.
bool writeInPlace(const std::string& path, const std::string& content, mode_t modeIfNew) {
  // Non-blocking, so a FIFO put there cannot stall the window; only a plain file is written.
  const int fd = retryOnEintr([&] {
    return open(path.c_str(), O_WRONLY | O_CREAT | O_NOFOLLOW | O_NONBLOCK | O_CLOEXEC, modeIfNew);
  });
  if (fd < 0) return false;
  struct stat st;
  bool ok = fstat(fd, &st) == 0;
  if (ok && !S_ISREG(st.st_mode)) {
    ok = false;
    errno = EINVAL;
  }
  ok = ok && ftruncate(fd, 0) == 0 && writeAll(fd, content) && fsync(fd) == 0;
  const int error = errno;
  const bool closed = close(fd) == 0;
  if (!ok) errno = error;
  return ok && closed;
}

// The file a path leads to replaced atomically, or written in place where that is not possible.
bool replaceWhereItLives(const std::string& file, const std::string& content, mode_t modeIfNew,
                         std::optional<Ownership> as = std::nullopt) {
  const Replacement done = replaceAtomically(file, content, modeIfNew, as);
  if (done == Replacement::kDone) return true;
  if (done == Replacement::kFailed) return false;
  return writeInPlace(file, content, as ? as->mode : modeIfNew);
}

struct FileRead {
  std::string bytes;
  OwnFormat ownFormat;
};

// Files read in this run that no replacement has met yet, by the path they were read at.
std::map<std::string, FileRead>& filesRead() {
  static std::map<std::string, FileRead> files;
  return files;
}

// Before the first replacement of path in this run: bytes read from it that the program would
// not write itself go to FILE.orig beside the file it leads to. False, with errno, when that
// copy cannot be written: the replacement must not go on and lose them. Nothing is forgotten
// then, so the next replacement tries again.
bool keepHandWrittenOriginal(const std::string& path, const std::string& file) {
  const auto read = filesRead().find(path);
  if (read == filesRead().end()) return true;
  const FileRead& was = read->second;
  if (was.ownFormat(was.bytes) != was.bytes) {
    const std::optional<std::string> copy = followLinks(file + ".orig");
    // Root-only where the original's mode is unknown: a Samba script holds a password.
    // The file is still the one read (this is its first replacement): the copy takes its mode
    // and owner.
    if (!copy || !replaceWhereItLives(*copy, was.bytes, 0600, ownershipOf(file))) return false;
  }
  filesRead().erase(read);
  return true;
}

}  // namespace

void rememberReadFile(const std::string& path, std::string bytesRead, OwnFormat ownFormat) {
  filesRead()[path] = FileRead{std::move(bytesRead), ownFormat};
}

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

void makeFolderWithParents(const std::string& path) {
  for (std::size_t end = path.find('/', 1);; end = path.find('/', end + 1)) {
    const bool last = end == std::string::npos;
    const std::string folder = last ? path : path.substr(0, end);
    if (mkdir(folder.c_str(), 0777) != 0) {
      if (errno != EEXIST) return;
    } else if (!last) {
      letOwnerEnter(folder);
    }
    if (last) return;
  }
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

std::optional<std::string> followLinks(const std::string& path) {
  std::string at = path;
  for (int hop = 0; hop < kMaxLinkHops; ++hop) {
    std::error_code error;
    const std::filesystem::path target = std::filesystem::read_symlink(at, error);
    if (error) return at;  // not a link (or gone): the file lives here
    at = target.is_absolute() ? target.string() : folderOf(at) + "/" + target.string();
  }
  errno = ELOOP;
  return std::nullopt;
}

bool replaceFile(const std::string& path, const std::string& content, mode_t modeIfNew) {
  const std::optional<std::string> file = followLinks(path);
  if (!file) return false;
  if (!keepHandWrittenOriginal(path, *file)) return false;
  return replaceWhereItLives(*file, content, modeIfNew);
}
