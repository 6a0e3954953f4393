// The one way this program runs command lines, and what it makes safe around them.
#pragma once

#include <sys/types.h>

#include <functional>
#include <string>

// Runs line as "/bin/sh -c" would and waits for it: a line that is only a program and plain
// words runs that program straight (no shell process), anything else through the shell. The
// exit status is not looked at: callers judge the outcome by the files the command leaves.
void runCommand(const std::string& line);

// runCommand in two halves, for a line whose result nothing needs until later: startCommand
// starts it and returns at once; finishCommand(the value it gave) waits for it. Meanwhile any
// other line waits for it first, as always. Started alone only while no other line runs
// (runCommand, which also uses them, puts back the line it interrupted).
pid_t startCommand(const std::string& line);
void finishCommand(pid_t started);

// Sees every command line before it runs. Returning true means "handled": the line is not
// run. Tests use it to record lines or to stand in for slow tools; nullptr restores the default.
using CommandObserver = std::function<bool(const std::string& line)>;
void setCommandObserver(CommandObserver observer);

// Gives line to the observer, as every line the program runs is given; true when the observer
// handled it, and the line is then not to be run. For runners of their own (watched children).
bool commandObserved(const std::string& line);

// Waits for a running command in place of a plain blocking wait: given a descriptor that turns
// readable the moment the command ends, it returns once it has. The GUI uses it to keep windows
// repainting. nullptr: just wait.
using CommandWaitPump = std::function<void(int endedFd)>;
void setCommandWaitPump(CommandWaitPump pump);

// True while a command line runs; what the wait lets run meanwhile (timers) starts none.
bool commandRunning();

// A value for a command line: bare when it holds only [A-Za-z0-9._/@%+=:,-] (so ordinary
// names give the documented lines byte for byte), single-quoted otherwise.
std::string shellQuote(const std::string& value);
