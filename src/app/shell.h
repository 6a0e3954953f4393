// The one way this program runs command lines, and what it makes safe around them.
#pragma once

#include <functional>
#include <string>

// Runs line through "/bin/sh -c" and waits for it. The exit status is not looked at:
// callers judge the outcome by the files the command leaves behind.
void runCommand(const std::string& line);

// Sees every command line before it runs. Returning true means "handled": the line is not
// run. Tests use it to record lines or to stand in for slow tools; nullptr restores the default.
using CommandObserver = std::function<bool(const std::string& line)>;
void setCommandObserver(CommandObserver observer);

// Called while a command runs, between checks of whether it has ended (a few ms apart);
// the GUI uses it to keep windows repainting. nullptr: just wait.
using CommandWaitPump = std::function<void()>;
void setCommandWaitPump(CommandWaitPump pump);

// A value for a command line: bare when it holds only [A-Za-z0-9._/@%+=:,-] (so ordinary
// names give the documented lines byte for byte), single-quoted otherwise.
std::string shellQuote(const std::string& value);
