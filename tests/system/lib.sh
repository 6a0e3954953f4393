# Shared by the system tests, which run inside the sandbox with its Xvfb; $1 is the binary.
program=$1 failures=0
chmod o+rx "$(dirname "$program")"  # other users reach it through the repository's folders
check() { if "${@:2}"; then echo "ok: $1"; else echo "FAIL: $1"; failures=$((failures + 1)); return 1; fi; }
window() { timeout 20 xdotool search --sync --onlyvisible --name "${1:-Kelvane Printer Management}" | head -n 1; }
finish() { [ $failures = 0 ] || { echo "$failures check(s) failed"; exit 1; }; echo "all checks passed"; }
# Installs the package that the deb_package test built (dpkg's own output stays in /tmp/dpkg.out).
install_package() { dpkg -i "$SPM_DEB_DIR"/solvo-printer-mgr_*.deb > /tmp/dpkg.out 2>&1 || { cat /tmp/dpkg.out; false; }; }
run_as() { local user=$1; shift; setpriv --reuid "$user" --regid "$(id -g "$user")" --init-groups "$@"; }
within() { timeout "$1" bash -c "until $2; do sleep 0.1; done"; }  # $1 seconds for command $2 to succeed
press() { xdotool mousemove --window "$w" "$1" "$2" click 1; }  # in the window $w
# Exit (the last button of the Printers page) in the window $w; the start $1, a job of this shell,
# must then end within 10 s with status 0.
closes() {
  press 446 354
  timeout 10 tail --pid="$1" -f /dev/null || kill "$1"
  wait "$1"
  check "Exit ends the start with status 0 (got $?)" test $? = 0
}
