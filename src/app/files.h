// File access with the care a root program needs: fixed /tmp paths and replacing system files
// where they live, atomically wherever the folder allows.
#pragma once

#include <sys/types.h>

#include <cerrno>
#include <optional>
#include <string>

// Whether path can be opened for reading right now (opened and closed again).
bool canOpenForReading(const std::string& path);
// Whether anything exists at path (no open, symlinks not followed).
bool pathExists(const std::string& path);

// Makes the folder path and every missing folder above it, as "mkdir -p" does: folders made on
// the way get u+wx whatever the umask. Stops silently at the first folder that cannot be made.
void makeFolderWithParents(const std::string& path);

// The whole content of a file, or nothing when it cannot be opened. With noFollow, a
// symbolic link at path is not followed (it counts as "cannot be opened").
std::optional<std::string> readWholeFile(const std::string& path, bool noFollow = false);

// Prepares a fixed path under /tmp before a command line writes into it: removes whatever is
// there (a planted symlink included) and creates an empty file, exclusively, without following
// links, mode 600, owned by us. /tmp is sticky, so nobody else can swap it out afterwards.
// False when the path could not be claimed; the caller must then not run its command.
bool claimTempFile(const std::string& path);

// The file path leads to: symbolic links are followed, also through several (a relative target
// counts from the link's folder). Nothing, with errno ELOOP, when they loop.
std::optional<std::string> followLinks(const std::string& path);

// A file the program read and may later write back whole (the printcap, a Samba script, the
// ThinPrint settings): keeps the bytes read and how the program itself would write what it
// understood of them (ownFormat of the bytes). Where the two differ, an
// administrator wrote something the rewrite would drop: the first replaceFile of path in this
// run first keeps the bytes read as FILE.orig beside the file path leads to (a link's target),
// with the original's mode and owner, replacing an older copy. Where that copy cannot be
// written, replaceFile fails too (errno from the copy) and the copy is tried again next time.
using OwnFormat = std::string (*)(const std::string& bytesRead);
void rememberReadFile(const std::string& path, std::string bytesRead, OwnFormat ownFormat);

// Replaces the file path leads to with content, where it lives: a link is followed and stays.
// The way is a temporary file in that file's folder, flushed to disk and renamed over the old
// one, so a crash leaves the old file or the new one, never a part. Where the folder takes no
// new file, or the file is a mount point (a rename gives EBUSY or EXDEV), but the file opens for
// writing, it is written in place instead: truncated, written, flushed. An existing file's mode
// and owner are kept; a new file gets modeIfNew. False when no way worked, with errno the cause
// of the last way tried (a full disk's ENOSPC included).
bool replaceFile(const std::string& path, const std::string& content, mode_t modeIfNew = 0644);

// Whether a failed write's errno says the disk, or the user's share of it, is full.
inline bool isDiskFull(int error) {
  return error == ENOSPC || error == EDQUOT;
}
