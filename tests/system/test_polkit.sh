#!/bin/bash
# The installed package under a system bus and polkitd of the sandbox's own: a listed member of
# "admin" becomes root with her own password, nobody else gains anything, every start ends with
# status 0. The sandbox has no login session, so nobody's session is active: users the rule does
# not name are refused outright instead of being asked for an administrator's password.
. "$(dirname "$0")/lib.sh"
check "dpkg -i installs it" install_package
action=org.solvo.printer-mgr.run
refusal="You are not authorized to use this applet"
printf '#!/bin/sh\n' > /usr/local/bin/xmessage && chmod 755 /usr/local/bin/xmessage
groupadd admin && useradd -M -G admin alice && useradd -M -N -g admin bob && useradd -M carol
printf 'alice:alice-pw\nbob:bob-pw\ncarol:carol-pw\n' | chpasswd
printf 'office:lp=/dev/lp0:\nback:lp=/dev/lp1:\n' > /etc/printcap
run_as() { local user=$1; shift; setpriv --reuid "$user" --regid "$(id -g "$user")" --init-groups "$@"; }
mkdir -p /run/dbus && bus=$(dbus-daemon --system --fork --print-pid)
start_polkitd() {  # polkitd reads its rules when it starts
  [ -z "${polkitd:-}" ] || { kill "$polkitd"; wait "$polkitd"; }
  /usr/lib/polkit-1/polkitd --no-debug > /dev/null 2>&1 &
  polkitd=$!
  for _ in $(seq 100); do
    dbus-send --system --print-reply --dest=org.freedesktop.DBus / org.freedesktop.DBus.NameHasOwner \
      string:org.freedesktop.PolicyKit1 2> /dev/null | grep -q 'boolean true' && return; sleep 0.1
  done
  false
}
# COMMAND as USER on a pseudo-terminal where no agent of USER's runs; PASSWORD is typed when asked.
on_pty() {
  rm -f /tmp/pty.out
  { for _ in $(seq 50); do grep -qs Password: /tmp/pty.out && break; sleep 0.1; done; echo "$2"; } |
    run_as "$1" timeout 30 script -qefc "$3" /tmp/pty.out
}
window_of() { w=$(window) && [ -n "$w" ] && [ "$(ps -o ruid= -p "$(xdotool getwindowpid "$w")")" -eq "$1" ]; }
root_window() { window_of 0; }
press() { xdotool mousemove --window "$w" "$1" "$2" click 1; }
visible_windows() { xdotool search --onlyvisible --name Kelvane | wc -l; }

check "polkitd owns its bus name" start_polkitd
for expected in alice:2 bob:1 carol:1; do  # 2: must authenticate; 1: not authorised
  run_as "${expected%:*}" sh -c "pkcheck --action-id $action --process \$\$" > /dev/null 2>&1
  check "pkcheck for ${expected%:*}: $? (want ${expected#*:})" test $? = "${expected#*:}"
done
for user in bob carol; do
  out=$(run_as $user solvo-printer-mgr 2>&1)
  check "$user is refused with status 0 (got $?) and asks nothing" test $? = 0 -a "$out" = "$refusal"
done
on_pty alice alice-pw 'exec solvo-printer-mgr' > /dev/null &
starter=$!
check "alice's own password: a root copy's window" root_window
out=$(run_as alice timeout 5 solvo-printer-mgr 2>&1)
check "a second start ends at once, silently (status $?: $out)" test $? = 0 -a -z "$out"
check "still one window" test "$(visible_windows)" = 1
press 446 354  # Exit
wait $starter
check "alice's start ends with status 0 (got $?)" test $? = 0
for answer in wrong $'\003'; do  # a wrong password, Ctrl-C
  on_pty alice "$answer" 'exec solvo-printer-mgr' > /dev/null
  status=$?
  check "answer ${answer@Q}: status 0 (got $status), no window" test $status = 0 -a "$(visible_windows)" = 0
done
on_pty bob bob-pw '/usr/bin/pkexec /usr/bin/solvo-printer-mgr; exit $?' > /dev/null
status=$?
check "bob's pkexec is refused (status $status), no window" test $status = 127 -a "$(visible_windows)" = 0

# A rule that says yes for alice stands in for her session's agent and password.
printf 'polkit.addRule(function (action, subject) {
  if (action.id == "%s" && subject.user == "alice") return polkit.Result.YES; });\n' $action \
  > /etc/polkit-1/rules.d/10-alice-yes.rules
check "polkitd restarts with the test rule" start_polkitd
run_as alice solvo-printer-mgr > /dev/null 2>&1 < /dev/null &
starter=$!
check "alice gets a root copy's window" root_window
press 248 354  # Delete "office", then _Ok in the question
d=$(timeout 10 xdotool search --sync --onlyvisible --name "Delete Printer Confirmation" | head -n 1)
xdotool windowfocus --sync "$d" key --window "$d" Return
for _ in $(seq 50); do grep -q '^office' /etc/printcap || break; sleep 0.1; done
check "the root copy saved /etc/printcap" test "$(grep -c '^office\|^back:' /etc/printcap)" = 1
press 446 354
wait $starter
check "alice's start ends with status 0 (got $?)" test $? = 0

mv /usr/bin/pkexec /usr/bin/pkexec.real && printf '#!/bin/sh\ntouch /tmp/pkexec.ran\n' > /usr/bin/pkexec
chmod 755 /usr/bin/pkexec
out=$(DISPLAY=:76 run_as alice solvo-printer-mgr 2>&1)
check "no display: status $?, one line ($out), no pkexec" test "$?:$out" = "0:solvo-printer-mgr: cannot open the display" -a ! -e /tmp/pkexec.ran
mv /usr/bin/pkexec.real /usr/bin/pkexec
# No polkitd and no system bus: a window as alice herself, read-only, after one line saying why.
kill "$polkitd" "$bus" && wait "$polkitd"
rm -f /run/dbus/system_bus_socket
mkdir -p /home/alice && chown alice /home/alice  # fontconfig's cache, or it complains there too
HOME=/home/alice run_as alice solvo-printer-mgr > /dev/null 2> /tmp/err < /dev/null &
starter=$!
check "no polkit: alice's own window" window_of "$(id -u alice)"
check "one line on standard error: $(cat /tmp/err)" grep -qx 'solvo-printer-mgr: cannot become root: polkit cannot be reached (.*)' /tmp/err
check "only that line" test "$(wc -l < /tmp/err)" = 1
press 50 354  # Add
check "Add is insensitive" test -z "$(timeout 2 xdotool search --sync --onlyvisible --name 'Add New Printer')"
xdotool mousemove --window "$w" 52 352 && sleep 1.5
tooltip() { for t in $(xdotool search --onlyvisible --class solvo-printer-mgr); do xprop -id "$t" _NET_WM_WINDOW_TYPE; done | grep -q TOOLTIP; }
check "Add has a tooltip" tooltip
press 446 354
wait $starter
check "alice's start ends with status 0 (got $?)" test $? = 0
finish
