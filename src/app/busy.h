// How the windows behave while a command line runs: they keep repainting under a busy cursor,
// and no user input reaches them.
#pragma once

#include <glib.h>

// Makes the shell runner wait that way from now on. The toolkit must be initialised.
void installBusyWait();
// Waits that long in the same way (repainting, busy cursor, no input). The toolkit must be
// initialised.
void busyWait(guint milliseconds);
// Waits in the same way until done turns true (set from the main loop, by a watched child's
// end, say).
void busyWaitUntil(const bool& done);
