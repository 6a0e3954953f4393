#!/bin/bash
# Without lpq, lpd, smbclient and xmessage the real binary starts, lists the Jobs page without
# hanging and ends on request; a refused user still gets the refusal line.
. "$(dirname "$0")/lib.sh"
for tool in lpq lpd smbclient xmessage; do rm -f $(type -ap $tool); done
printf 'office:lp=/dev/lp0:\n' > /etc/printcap
"$program" > /dev/null 2> /tmp/err &
w=$(window)
check "window shown" test -n "$w"
xdotool mousemove --window "$w" 85 17 click 1  # the Jobs tab: lists at once, then every 5 s
sleep 6
check "two listings tried the missing lpq" test "$(grep -c 'lpq: not found' /tmp/err)" -ge 2
xdotool windowclose "$w"
check "ends when its window closes" timeout 10 tail --pid=$! -f /dev/null
useradd -M -N outsider
out=$(timeout 10 setpriv --reuid outsider --regid nogroup --clear-groups "$program" 2> /dev/null)
check "refused user gets the refusal line" test "$out" = "You are not authorized to use this applet"
finish
