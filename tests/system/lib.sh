# Shared by the system tests; they run inside the sandbox with its Xvfb.
TITLE="Kelvane Printer Management"
failures=0

fail() { echo "FAIL: $*"; failures=$((failures + 1)); }
pass() { echo "ok: $*"; }
check() {  # check DESCRIPTION COMMAND...
  local what=$1; shift
  if "$@"; then pass "$what"; else fail "$what"; fi
}
# Prints the id of the program's visible main window once it is mapped (waits up to 20 s).
wait_for_window() { timeout 20 xdotool search --sync --onlyvisible --name "$TITLE" | head -n 1; }
window_count() { xdotool search --onlyvisible --name "$TITLE" 2>/dev/null | wc -l; }
# Puts a recording stand-in for a tool first on the search path.
stub_tool() {  # stub_tool NAME LOGFILE
  printf '#!/bin/sh\necho "$0 $*" >> %s\n' "$2" > "/usr/local/bin/$1"
  chmod 755 "/usr/local/bin/$1"
}
finish() {
  if [ "$failures" -ne 0 ]; then echo "$failures check(s) failed"; exit 1; fi
  echo "all checks passed"
}
