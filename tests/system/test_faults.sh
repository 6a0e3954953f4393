#!/bin/bash
# The real binary on a system without lpq, lpd, smbclient and xmessage: it starts, lists the
# Jobs page (empty) and ends on request; a refused user still gets the refusal. Every wait is
# bounded, so a hang fails instead of stalling.
set -u
. "$(dirname "$0")/lib.sh"
program=$1
chmod o+rx "$(dirname "$program")"
for tool in lpq lpd smbclient xmessage; do
  for path in $(type -ap "$tool"); do rm -f "$path"; done
  check "$tool is gone" bash -c "! type -p $tool > /dev/null"
done
printf 'office:\\\n\t:lp=/dev/lp0:\\\n\t:sd=/var/spool/lpd/office:\n' > /etc/printcap

"$program" > /dev/null 2> /tmp/err &
pid=$!
window=$(wait_for_window)
check "main window shown" test -n "$window"
xdotool mousemove --window "$window" 85 17 click 1  # the "Jobs" tab: lists at once, then every 5 s
sleep 6
check "still running after the Jobs page listed twice" kill -0 "$pid"
check "both listings asked for the missing lpq" test "$(grep -c 'lpq: not found' /tmp/err)" -ge 2
xdotool windowclose "$window" 2> /dev/null
timeout 10 tail --pid="$pid" -f /dev/null
check "ends when its window closes" bash -c "! kill -0 $pid 2> /dev/null"
kill -9 "$pid" 2> /dev/null
wait "$pid"
check "exit status 0" test $? = 0

useradd -M -N outsider
output=$(timeout 10 setpriv --reuid outsider --regid nogroup --clear-groups "$program" 2> /dev/null)
status=$?
check "refused user without xmessage: status 0 (got $status), at once" test "$status" = 0
check "refused user still sees the refusal line" \
  test "$output" = "You are not authorized to use this applet"
finish
