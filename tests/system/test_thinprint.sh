#!/bin/bash
# ThinPrint "Save" on the real binary: after a Save with ThinPrint enabled exactly one client
# runs, started with the saved settings; after a Save with it disabled none runs.
set -u
. "$(dirname "$0")/lib.sh"
program=$1

# The shared stand-in ends in "exec sleep", which "killall thnuclnt" cannot find; this one keeps
# its own name while it runs and records its arguments the same way.
mkdir -p /usr/share/thinprint /etc/dorvek /etc/init.d /etc/rcS.d
cat > /usr/share/thinprint/thnuclnt <<'CLIENT'
#!/bin/bash
: > /tmp/thnuclnt.args
for arg in "$@"; do printf '%s\n' "$arg" >> /tmp/thnuclnt.args; done
while :; do sleep 1; done
CLIENT
chmod 755 /usr/share/thinprint/thnuclnt
printf 'BANDWIDTH=256000\n/dev/usb/lp0 Laser\n' > /etc/dorvek/thinprint.conf
# An existing start script makes "Enable ThinPrint" active at start-up.
printf '#!/bin/sh\n' > /etc/init.d/runthinprint
chmod 755 /etc/init.d/runthinprint

clients() { pgrep -x thnuclnt | wc -l; }
# Waits up to 10 s until the number of running clients is $1.
wait_for_clients() {
  for _ in $(seq 100); do
    [ "$(clients)" = "$1" ] && return 0
    sleep 0.1
  done
  return 1
}
# Clicks at a place of the fixed-size main window (500x380; the layout does not move).
click_at() { xdotool mousemove --window "$window" "$1" "$2" click 1; sleep 0.3; }
# Presses "Save" and closes the "Config Saved..." message with its Ok button.
save() {
  click_at 462 325
  local dialog
  dialog=$(timeout 10 xdotool search --sync --onlyvisible --name "Config Saved..." | head -n 1)
  check "Save shows its message" test -n "$dialog"
  [ -n "$dialog" ] || return
  xdotool windowfocus --sync "$dialog" 2>/dev/null
  xdotool key --window "$dialog" Return
  for _ in $(seq 50); do
    xdotool search --onlyvisible --name "Config Saved..." > /dev/null 2>&1 || return 0
    sleep 0.1
  done
}

# A client left over from an earlier start must not survive a Save.
/usr/share/thinprint/thnuclnt -stale &
old=$!
disown "$old"  # its death by "killall -9" is expected; keep bash from reporting it
wait_for_clients 1

"$program" > /dev/null 2>&1 &
pid=$!
window=$(wait_for_window)
check "main window shown" test -n "$window"
click_at 142 17  # the "ThinPrint" tab

save
check "one client runs after Save enabled" wait_for_clients 1
check "the earlier client was stopped" bash -c "! kill -0 $old 2>/dev/null"
sleep 0.3
expected=$'-b\n256000\n-dev\n/dev/usb/lp0\n-name\nLaser'
check "client started with the saved settings: $(tr '\n' ' ' < /tmp/thnuclnt.args)" \
  test "$(cat /tmp/thnuclnt.args)" = "$expected"
check "start script holds the command line" test "$(cat /etc/init.d/runthinprint)" = \
  $'#!/bin/sh\n/usr/share/thinprint/thnuclnt -b 256000 -dev /dev/usb/lp0 -name Laser '
check "boot link points at the start script" \
  test "$(readlink /etc/rcS.d/S76runthinprint)" = /etc/init.d/runthinprint

# Saving again restarts the client: still exactly one.
save
sleep 0.5
check "still one client after a second Save" wait_for_clients 1

click_at 13 50  # "Enable ThinPrint" off
save
check "no client after Save disabled" wait_for_clients 0
check "start script removed" test ! -e /etc/init.d/runthinprint
check "boot link removed" test ! -L /etc/rcS.d/S76runthinprint
check "settings file kept" test "$(cat /etc/dorvek/thinprint.conf)" = \
  $'BANDWIDTH=256000\n/dev/usb/lp0 Laser'

click_at 462 352  # "Exit"
for _ in $(seq 50); do kill -0 "$pid" 2>/dev/null || break; sleep 0.1; done
if kill -0 "$pid" 2>/dev/null; then
  fail "Exit ends the program"
  kill "$pid"
else
  wait "$pid"
  check "Exit ends the program with status 0" test $? = 0
fi
finish
