#!/bin/bash
# The real binary from a build tree, without lpq, lpd, smbclient and xmessage: root (no group
# admin yet) gets the window, lists the Jobs page without hanging and ends on Exit; a
# listed member of admin gets the window too (a build tree's copy is not handed to pkexec), a
# user outside admin the refusal line; without a display one line says so; status 0 always.
. "$(dirname "$0")/lib.sh"
for tool in lpq lpd smbclient xmessage; do rm -f $(type -ap $tool); done
printf 'office:lp=/dev/lp0:\n' > /etc/printcap
"$program" > /dev/null 2> /tmp/err &
w=$(window)
check "root gets the window without a group admin" test -n "$w"
press 85 17  # the Jobs tab: lists at once, then every 5 s
sleep 6
check "two listings tried the missing lpq" test "$(grep -c 'lpq: not found' /tmp/err)" -ge 2
press 30 17; closes $!  # from the Printers tab: the Jobs page's Exit sits above its queue control
groupadd admin && useradd -M -N -G admin member && useradd -M -N outsider
out=$(run_as outsider timeout 10 "$program" 2> /dev/null)
check "refused with status 0 (got $?) and the refusal line" test "$?:$out" = "0:You are not authorized to use this applet"
run_as member "$program" > /dev/null 2>&1 &
w=$(window)
check "a listed member of admin gets the window" test -n "$w"
closes $!
err=$(env -u DISPLAY timeout 10 "$program" 2>&1 > /dev/null)
check "no display: status 0 and one line on standard error (got $?)" test "$?:$err" = "0:solvo-printer-mgr: cannot open the display"
finish
