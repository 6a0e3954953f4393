#!/bin/bash
# Start-up of the real binary: root (no group admin yet) and a listed member of admin get the
# window (a copy from a build tree is not handed to pkexec), a user whose primary group is admin
# without being listed is refused; without a display one line says so; status 0 always.
. "$(dirname "$0")/lib.sh"
printf '#!/bin/sh\necho "$*" > /tmp/xmessage.log\n' > /usr/local/bin/xmessage
chmod 755 /usr/local/bin/xmessage
"$program" > /dev/null 2>&1 &
w=$(window)
check "root gets the window without a group admin" test -n "$w"
check "a second copy ends at once, status 0" timeout 5 "$program"
check "still one window" test "$(xdotool search --onlyvisible --name Kelvane | wc -l)" = 1
xdotool windowclose "$w"
wait $!
check "closing the window ends with status 0" test $? = 0
groupadd admin && useradd -M -N -g admin outsider && useradd -M -N -G admin member
out=$(setpriv --reuid outsider --regid admin --clear-groups "$program" 2> /dev/null)
check "refused with status 0 (got $?)" test $? = 0
check "refusal line" test "$out" = "You are not authorized to use this applet"
check "refusal box" grep -qx -- "-center -timeout 5 You are not authorized to use this applet" /tmp/xmessage.log
setpriv --reuid member --regid users --clear-groups "$program" > /dev/null 2>&1 &
check "a listed member of admin gets the window" test -n "$(window)"
kill $!
err=$(env -u DISPLAY timeout 10 "$program" 2>&1 > /dev/null)
check "no display: status 0 and one line on standard error (got $?)" test "$?:$err" = "0:solvo-printer-mgr: cannot open the display"
finish
