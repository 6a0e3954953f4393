#!/bin/bash
# Start-up of the real binary: who is admitted, the single instance, the window, the exit status.
set -u
. "$(dirname "$0")/lib.sh"
program=$1
# Unprivileged users must reach the binary through the repository's folders.
chmod o+rx "$(dirname "$program")"

# root is admitted while no group "admin" exists; closing the window ends with status 0.
"$program" > /tmp/out.root 2> /dev/null &
pid=$!
window=$(wait_for_window)
check "root admitted without a group admin" test -n "$window"
check "window titled '$TITLE'" test "$(xdotool getwindowname "$window" 2>/dev/null)" = "$TITLE"
geometry=$(xwininfo -id "$window" | awk '/Width:/ {w=$2} /Height:/ {h=$2} END {print w "x" h}')
check "window is 500x380 (got $geometry)" test "$geometry" = "504x384" -o "$geometry" = "500x380"
hints=$(xprop -id "$window" WM_NORMAL_HINTS)
min=$(echo "$hints" | sed -n 's/.*minimum size: \(.*\)/\1/p')
max=$(echo "$hints" | sed -n 's/.*maximum size: \(.*\)/\1/p')
check "window not resizable (min '$min' = max '$max')" test -n "$min" -a "$min" = "$max"

# A second copy, by root or anybody else, ends at once, silently, with status 0.
start=$(date +%s%N)
"$program" > /tmp/out.second 2>&1
status=$?
elapsed_ms=$(( ($(date +%s%N) - start) / 1000000 ))
check "second copy exits 0 (got $status)" test "$status" = 0
check "second copy prints nothing" test ! -s /tmp/out.second
check "second copy ends quickly (${elapsed_ms} ms)" test "$elapsed_ms" -lt 2000
check "first copy still runs" kill -0 "$pid"
check "one window only" test "$(window_count)" = 1
check "/tmp/quillan.id does not exist" test ! -e /tmp/quillan.id

xdotool windowclose "$window" 2>/dev/null || xdotool windowkill "$window"
wait "$pid"
status=$?
check "closing the window ends with status 0 (got $status)" test "$status" = 0
# (xdotool destroys the window itself, which the toolkit warns about on stderr)
check "nothing printed on stdout by an admitted start: $(cat /tmp/out.root)" test ! -s /tmp/out.root

# Users: a listed member of admin, and one whose primary group is admin without being listed.
groupadd admin
useradd -M -N -g admin outsider
useradd -M -N member
gpasswd -a member admin > /dev/null
stub_tool xmessage /tmp/xmessage.log
chmod 666 /tmp/xmessage.log 2>/dev/null || { : > /tmp/xmessage.log; chmod 666 /tmp/xmessage.log; }

output=$(setpriv --reuid outsider --regid admin --clear-groups "$program" 2>/dev/null)
status=$?
check "refused user gets status 0 (got $status)" test "$status" = 0
check "refused user sees the refusal line" test "$output" = "You are not authorized to use this applet"
check "refusal message box run" \
  grep -qx "/usr/local/bin/xmessage -center -timeout 5 You are not authorized to use this applet" \
  /tmp/xmessage.log
check "no window for a refused user" test "$(window_count)" = 0

setpriv --reuid member --regid users --init-groups "$program" > /tmp/out.member 2>&1 &
pid=$!
window=$(wait_for_window)
check "listed member of admin admitted: $(cat /tmp/out.member)" test -n "$window"
kill "$pid"; wait "$pid" 2>/dev/null

"$program" > /dev/null 2>&1 &
pid=$!
check "root admitted while group admin exists" test -n "$(wait_for_window)"
kill "$pid"; wait "$pid" 2>/dev/null
finish
