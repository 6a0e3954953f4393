// How the windows behave while a command line runs: they keep repainting under a busy cursor,
// and no user input reaches them.
#pragma once

// Makes the shell runner wait that way from now on. The toolkit must be initialised.
void installBusyWait();
