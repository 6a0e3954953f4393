#!/bin/bash
# The Debian package: built from a copy of the tree, installed with dpkg -i, the installed
# program starts and shows its window, its manual page renders, its desktop entry is valid.
set -u
. "$(dirname "$0")/lib.sh"
top=$(cd "$(dirname "$0")/../.." && pwd)

if ! "$top/debian/build-deb.sh" /tmp/deb > /tmp/build-deb.out 2>&1; then
  cat /tmp/build-deb.out
  fail "the package builds"
  finish
fi
deb=$(ls /tmp/deb/solvo-printer-mgr_*.deb)
depends=$(dpkg-deb -f "$deb" Depends)
case "$depends" in
  *libgtk2.0-0*lprng*) pass "depends on the GTK+ 2 runtime and lprng" ;;
  *) fail "depends on the GTK+ 2 runtime and lprng (got: $depends)" ;;
esac

dpkg -i "$deb" > /tmp/dpkg.out 2>&1
check "dpkg -i installs it: $(tail -n 3 /tmp/dpkg.out)" test $? = 0
for file in /usr/bin/solvo-printer-mgr /usr/share/locale/{de,fr}/LC_MESSAGES/solvo-printer-mgr.mo \
  /usr/share/applications/solvo-printer-mgr.desktop /usr/share/man/man1/solvo-printer-mgr.1.gz; do
  check "installs $file" test -f "$file"
done
check "desktop entry valid" desktop-file-validate /usr/share/applications/solvo-printer-mgr.desktop

page=$(MANWIDTH=80 man -l /usr/share/man/man1/solvo-printer-mgr.1.gz 2> /tmp/man.err)
check "man -l renders without warnings: $(cat /tmp/man.err)" test ! -s /tmp/man.err
for section in NAME SYNOPSIS DESCRIPTION "WHO MAY RUN IT" FILES COMMANDS "EXIT STATUS"; do
  check "manual page has $section" grep -qx "$section" <<< "$page"
done

/usr/bin/solvo-printer-mgr > /dev/null 2>&1 &
pid=$!
window=$(wait_for_window)
check "installed program shows its window" test -n "$window"
kill "$pid" 2> /dev/null
wait "$pid" 2> /dev/null
finish
