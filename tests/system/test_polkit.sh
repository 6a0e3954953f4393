#!/bin/bash
# The installed package under a system bus and polkitd of the sandbox's own: a listed member of
# "admin" becomes root with her own password, nobody else gains anything, every start ends with
# status 0. The sandbox has no login session, so nobody's session is active: users the rule does
# not name are refused outright instead of being asked for an administrator's password.
. "$(dirname "$0")/lib.sh"
check "dpkg -i installs it" install_package
refusal="You are not authorized to use this applet"
refused="$refusal"$'\n'"xmessage -center -timeout 5 $refusal"  # the line, then the box
printf '#!/bin/sh\necho "xmessage $*"\n' > /usr/local/bin/xmessage && chmod 755 /usr/local/bin/xmessage
groupadd admin && useradd -M -G admin alice && useradd -M -N -g admin bob && useradd -M carol
printf 'alice:alice-pw\nbob:bob-pw\ncarol:carol-pw\n' | chpasswd
printf 'office:lp=/dev/lp0:\nback:lp=/dev/lp1:\n' > /etc/printcap
mkdir -p /run/dbus && bus=$(dbus-daemon --system --fork --print-pid)
start_polkitd() {  # polkitd reads its rules when it starts
  [ -z "${polkitd:-}" ] || { kill "$polkitd"; wait "$polkitd"; }
  /usr/lib/polkit-1/polkitd --no-debug > /dev/null 2>&1 &
  polkitd=$!
  within 10 "dbus-send --system --print-reply --dest=org.freedesktop.DBus / org.freedesktop.DBus.NameHasOwner \
    string:org.freedesktop.PolicyKit1 2> /dev/null | grep -q 'boolean true'"
}
# COMMAND as USER on a pseudo-terminal where no agent of USER's runs; PASSWORD is typed when asked.
on_pty() {
  rm -f /tmp/pty.out
  { within 5 'grep -qs Password: /tmp/pty.out'; echo "$2"; } |
    run_as "$1" timeout 30 script -qefc "$3" /tmp/pty.out
}
window_of() { w=$(window) && [ -n "$w" ] && [ "$(ps -o ruid= -p "$(xdotool getwindowpid "$w")")" -eq "$1" ]; }
visible_windows() { xdotool search --onlyvisible --name Kelvane | wc -l; }

check "polkitd owns its bus name" start_polkitd
for user in bob carol; do  # the program refuses them, and polkit too without asking anything
  out=$(run_as $user solvo-printer-mgr 2>&1)
  check "$user is refused with status 0 (got $?), a box and nothing else: $out" test "$?:$out" = "0:$refused"
  on_pty $user $user-pw '/usr/bin/pkexec /usr/bin/solvo-printer-mgr; exit $?' > /dev/null
  check "$user's own pkexec is refused unasked (status $?), no window" \
    test "$?:$(grep -c Password: /tmp/pty.out):$(visible_windows)" = 127:0:0
done
on_pty alice alice-pw 'exec solvo-printer-mgr' > /dev/null &
check "alice's own password: a root copy's window" window_of 0
out=$(run_as alice timeout 5 solvo-printer-mgr 2>&1)
check "a second start ends at once, silently (status $?: $out); one window" test "$?:$out:$(visible_windows)" = 0::1
closes $!
for answer in wrong $'\003'; do  # a wrong password, Ctrl-C
  on_pty alice "$answer" 'exec solvo-printer-mgr' > /dev/null
  check "answer ${answer@Q}: status 0 (got $?), no window" test "$?:$(visible_windows)" = 0:0
done

# A rule that says yes for alice stands in for her session's agent and password.
printf 'polkit.addRule(function (action, subject) {\n  if (subject.user == "alice") return polkit.Result.YES; });\n' \
  > /etc/polkit-1/rules.d/10-alice-yes.rules
check "polkitd restarts with the test rule" start_polkitd
run_as alice solvo-printer-mgr > /dev/null 2>&1 < /dev/null &
check "alice gets a root copy's window" window_of 0
press 248 354  # Delete "office", then _Ok in the question
d=$(window "Delete Printer Confirmation")
xdotool windowfocus --sync "$d" key --window "$d" Return
check "the root copy saved /etc/printcap" within 5 '! grep -q ^office /etc/printcap && grep -q ^back: /etc/printcap'
closes $!

printf '#!/bin/sh\ntouch /tmp/pkexec.ran\n' > /usr/bin/pkexec  # a stand-in that leaves a trace
out=$(DISPLAY=:76 run_as alice solvo-printer-mgr 2>&1)
check "no display: status $?, one line ($out), no pkexec" test "$?:$out" = "0:solvo-printer-mgr: cannot open the display" -a ! -e /tmp/pkexec.ran
# No polkitd and no system bus: a window as alice herself, read-only, after one line saying why.
kill "$polkitd" "$bus" && wait "$polkitd"
rm -f /run/dbus/system_bus_socket
mkdir -p /home/alice && chown alice /home/alice  # fontconfig's cache, or it complains there too
HOME=/home/alice run_as alice solvo-printer-mgr > /dev/null 2> /tmp/err < /dev/null &
check "no polkit: alice's own window" window_of "$(id -u alice)"
check "one line on standard error: $(cat /tmp/err)" grep -qx 'solvo-printer-mgr: cannot become root: polkit cannot be reached (.*)' /tmp/err
check "only that line" test "$(wc -l < /tmp/err)" = 1
press 50 354  # Add
check "Add is insensitive" test -z "$(timeout 2 xdotool search --sync --onlyvisible --name 'Add New Printer')"
xdotool mousemove --window "$w" 52 352 && sleep 1.5
tooltip() { for t in $(xdotool search --onlyvisible --class solvo-printer-mgr); do xprop -id "$t" _NET_WM_WINDOW_TYPE; done | grep -q TOOLTIP; }
check "Add has a tooltip" tooltip
closes $!
finish
