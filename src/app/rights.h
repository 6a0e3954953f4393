// Who may change the system: the hand-over of a user's start to pkexec, and the read-only
// window of a copy that runs without root.
#pragma once

#include <gtk/gtk.h>

#include <initializer_list>
#include <string>

// Empty when polkit answers on the system bus (started on demand where it is not running yet);
// otherwise, in one line, why it cannot be asked.
std::string polkitUnreachableReason();

// Runs `pkexec program` from this process, so that this process is the subject polkit asks
// about, and waits for it. Where standard input is a terminal, polkit's text agent is started
// for this process first, so the password is asked there, and ended afterwards.
// Ctrl-C ends pkexec and the agent, never this process.
void handOverToPkexec(const char* pkexec, const char* program);

// Whether this process may change the system files: its effective user ID is 0.
bool canChangeSystem();
// Without root: each widget becomes insensitive, with a tooltip that says why. With root:
// nothing changes.
void offerOnlyToRoot(std::initializer_list<GtkWidget*> widgets);
// Without root: a notice at the end of the notebook's tab row. It is the notebook's action
// widget, not a child, so no widget path moves.
void addReadOnlyNotice(GtkWidget* notebook);
