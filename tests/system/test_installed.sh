#!/bin/bash
# The package on a plain Debian (no seed): it brings the test page, the icon and the link to
# lprng's filters; "_Test" prints through the real LPRng; purge keeps what the administrator made.
. "$(dirname "$0")/lib.sh"
check "no filter link nor test page before" test ! -e /usr/lib/lprng/filters -a ! -e /etc/testpg.ascii
: > /dev/lp0 && chmod 666 /dev/lp0
check "dpkg -i installs it" install_package
check "the link leads to lprng's lpf" test "$(readlink -f /usr/lib/lprng/filters/lpf)" = "$(dpkg -L lprng | grep '/filters/lpf$')"
SPM_TEST_INSTALLED=1 "$(dirname "$program")"/tests/gui_printers --gtest_filter='Installed.*' > /tmp/gui.out 2>&1
check "lpf preselected, the test page printed into /dev/lp0: $(grep -A4 Failure /tmp/gui.out)" grep -q '^\[  PASSED  \] 1 test' /tmp/gui.out
/usr/bin/solvo-printer-mgr > /dev/null 2>&1 &
check "Avahi is loaded only at the first search" bash -c '! ldd /usr/bin/solvo-printer-mgr | grep -q avahi && ldd /usr/lib/solvo-printer-mgr/dnssd.so | grep -q libavahi-glib'
check "the fleet helper loads no toolkit: $(ldd /usr/lib/solvo-printer-mgr/fleet-helper | grep -oE 'lib(gtk|gdk|pango|glib)[^ ]*')" bash -c '! ldd /usr/lib/solvo-printer-mgr/fleet-helper | grep -qE "lib(gtk|gdk|pango|glib)"'
check "the window has its 16x16 icon" grep -q 'Icon (16 x 16)' <(xprop -id "$(window)" _NET_WM_ICON)
check "purge removes the link" bash -c 'dpkg --purge solvo-printer-mgr > /dev/null && test ! -e /usr/lib/lprng/filters'
mkdir -p /usr/lib/lprng/filters && install_package && dpkg --purge solvo-printer-mgr > /dev/null
check "a folder of the administrator's stays" test -d /usr/lib/lprng/filters -a ! -L /usr/lib/lprng/filters
finish
