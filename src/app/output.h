// Running a command line and reading what it printed, the one way the program does it.
#pragma once

#include <optional>
#include <string>

// Runs line, which writes into the fixed path under /tmp, and gives back what it wrote. The path
// is claimed first (claimTempFile), so root never writes through a planted link; it is read
// without following links and removed afterwards on every path. Nothing when the path could not
// be claimed (the line is then not run) or not read.
std::optional<std::string> commandOutput(const std::string& line, const std::string& path);
