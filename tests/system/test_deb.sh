#!/bin/bash
# The Debian package is lintian-clean, installs with dpkg -i, starts, and its manual page renders.
. "$(dirname "$0")/lib.sh"
check "dpkg -i installs it" install_package
tags=$(lintian -I --pedantic "$SPM_DEB_DIR"/solvo-printer-mgr_*.deb 2> /dev/null)
check "lintian finds nothing: $tags" test -z "$tags"
man=$(MANWIDTH=80 man -l /usr/share/man/man1/solvo-printer-mgr.1.gz 2> /tmp/man.err)
check "the manual page renders without warnings: $(cat /tmp/man.err)" test -n "$man" -a ! -s /tmp/man.err
/usr/bin/solvo-printer-mgr > /dev/null 2>&1 &
check "the installed program shows its window" test -n "$(window)"
finish
