#include "app/output.h"

#include <unistd.h>

#include "app/files.h"
#include "app/shell.h"

std::optional<std::string> commandOutput(const std::string& line, const std::string& path) {
  if (!claimTempFile(path)) return std::nullopt;
  runCommand(line);
  std::optional<std::string> text = readWholeFile(path, true);
  // Removed here rather than by an "rm" line: one process less on every refresh.
  unlink(path.c_str());
  return text;
}
