// File access with the care a root program needs: fixed /tmp paths and atomic replacement.
#pragma once

#include <sys/types.h>

#include <cerrno>
#include <optional>
#include <string>

// Whether path can be opened for reading right now (opened and closed again).
bool canOpenForReading(const std::string& path);
// Whether anything exists at path (no open, symlinks not followed).
bool pathExists(const std::string& path);

// The whole content of a file, or nothing when it cannot be opened. With noFollow, a
// symbolic link at path is not followed (it counts as "cannot be opened").
std::optional<std::string> readWholeFile(const std::string& path, bool noFollow = false);

// Prepares a fixed path under /tmp before a command line writes into it: removes whatever is
// there (a planted symlink included) and creates an empty file, exclusively, without following
// links, mode 600, owned by us. /tmp is sticky, so nobody else can swap it out afterwards.
// False when the path could not be claimed; the caller must then not run its command.
bool claimTempFile(const std::string& path);

// Replaces path with content: a temporary file in the same folder, flushed to disk and renamed
// over the old one, so a crash leaves the old file or the new one, never a part. An existing
// file's mode and owner are kept; a new file gets modeIfNew. False, with the old file untouched,
// when the temporary file cannot be created or written.
bool replaceFile(const std::string& path, const std::string& content, mode_t modeIfNew = 0644);

// Whether a failed write's errno says the disk, or the user's share of it, is full.
inline bool isDiskFull(int error) {
  return error == ENOSPC || error == EDQUOT;
}
