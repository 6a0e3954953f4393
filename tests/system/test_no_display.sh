#!/bin/bash
# Without a display the real binary says so in one line on standard error and ends with status 0.
. "$(dirname "$0")/lib.sh"
err=$(env -u DISPLAY timeout 10 "$program" 2>&1 > /dev/null)
check "status 0 and one line on standard error (got $?)" test "$?:$err" = "0:solvo-printer-mgr: cannot open the display"
finish
