#!/bin/bash
# The package is lintian-clean and its manual page renders. Three thin clients (fleet_clients.sh)
# with the package: client1, the reference, is set up through the program's own windows
# (fleet_reference), then fleet/capture.yml and fleet/apply.yml give its printers to client2 (a
# hand-written printcap) and client3 (a bind-mounted one), through the package's fleet helper.
. "$(dirname "$0")/lib.sh"
data=$(cd "$(dirname "$0")/../data" && pwd) && export t=/tmp/fleet && . "$(dirname "$0")/fleet_clients.sh"
mkdir -p stubs && printf '#!/bin/sh\ncat > /dev/null\n' > /usr/bin/smbclient  # stand-ins: Samba's, ThinPrint's client
mkdir -p /usr/share/thinprint && printf '#!/bin/sh\nexec sleep 900\n' > /usr/share/thinprint/thnuclnt
chmod 755 /usr/bin/smbclient /usr/share/thinprint/thnuclnt && : > /dev/lp0
printf '[reference]\nclient1\n[clients]\nclient2\nclient3\n' > hosts
play() { ansible-playbook -i hosts "$fleet/$1.yml" -e config_dir=$t/config "${@:2}" > $1.out 2>&1; }
recap() { grep -cE "^client[23] +: ok=[0-9]+ +changed=$1 +unreachable=0 +failed=0" apply.out; }
hand=$'# by hand\nlp:lp=/dev/lp0:\n' && mkdir -p c3 && printf '# mounted here\n' > c3/printcap  # client3's printcap is a bind mount
for c in 1 2 3; do client $c; done
for c in 1 2 3; do within 20 "on client$c true 2> /dev/null"; done
tags=$(lintian -I --pedantic "$SPM_DEB_DIR"/solvo-printer-mgr_*.deb 2> /dev/null)
check "lintian finds nothing: $tags" test -z "$tags"
syntax() { ansible-playbook -i hosts --syntax-check "$fleet"/*.yml > syntax.out 2>&1; }
check "every playbook in fleet/ passes the syntax check: $(grep -m 1 ERROR syntax.out)" syntax
on client1 dpkg -i "$SPM_DEB_DIR"/solvo-printer-mgr_*.deb > dpkg.out 2>&1
man=$(on client1 MANWIDTH=80 man -l /usr/share/man/man1/solvo-printer-mgr.1.gz 2>&1 > /dev/null)
check "the manual page renders without warnings: $man" test -z "$man"
for tool in lprm killall mkdir chmod chown checkpc lpd; do printf '#!/bin/sh\necho "${0##*/}" "$@" >> %s\n' $t/restart.lines > stubs/$tool; done
chmod 755 stubs/* && on client1 PATH=$t/stubs /usr/lib/solvo-printer-mgr/fleet-helper restart
check "the helper runs the program's restart lines: $(diff restart.lines $data/restart.lines)" cmp -s restart.lines $data/restart.lines
reference() { on client1 "DISPLAY=$DISPLAY $(dirname "$program")/tests/fleet_reference $1 >> $t/reference.out 2>&1 < /dev/null"; }
on client1 mkdir -p /etc/dorvek/samba  # as the program's start-up does
reference setup
play capture -e reference=client1
check "capture of the reference, into a private folder: $(tail -n 5 capture.out)" test "$(grep -cE '^client1 .* failed=0' capture.out)$(stat -c %a config)" = 1700
on client2 "printf '$hand' > /etc/printcap"
play apply -e deb="$(echo "$SPM_DEB_DIR"/solvo-printer-mgr_*.deb)" -l clients
check "apply installs and configures both: $(tail -n 5 apply.out)" test "$(recap '[1-9][0-9]*')" = 2
files="printcap printers_info dorvek/samba/smb.sh init.d/runlpd rcS.d/S76runlpd dorvek/thinprint.conf
  init.d/runthinprint rcS.d/S76runthinprint"
seen() { on client$1 "cd /etc && stat -c '%n %a %U:%G %N' $(echo $files) && md5sum \$(find $(echo $files) -type f); echo status \$?" 2>&1; }
serves() { q=$(on $1 lpq -P $2 2>&1) && [[ $q == *"Printer: $2@"* && ! $q =~ rror|cannot|No\ such ]]; }
same() { [ "$(seen 1)" = "$(seen $1)" ] && seen $1 | tail -n 1 | grep -qx 'status 0'; }
for c in 2 3; do
  check "client$c holds the reference's files, modes, owners and links: $(diff <(seen 1) <(seen $c))" same $c
  check "client$c: the Samba script is 750 root:lp" test "$(stat -c %a:%U:%G c$c/etc.u/dorvek/samba/smb.sh)" = 750:root:lp
  for p in par net smb; do check "client$c answers lpq -P $p" serves client$c $p; done
  on client$c "echo job-on-client$c | lpr -P par"
  check "client$c: the job lands in its own /dev/lp0" within 20 "grep -q job-on-client$c c$c/lp0"
done
check "client2's hand-written printcap is kept as /etc/printcap.orig" test "$(cat c2/etc.u/printcap.orig)"$'\n' = "$hand"
check "client3's bind-mounted printcap gets the new bytes in place" cmp -s c3/printcap c1/etc.u/printcap
check "and stays mounted" on client3 findmnt -n /etc/printcap
play apply -l clients -vvv
runs() { grep -c "^<client$1> SSH: EXEC .*python3" apply.out; }
check "a second apply changes nothing, one module run on each: $(tail -n 4 apply.out)" test "$(recap 0):$(runs 2):$(runs 3)" = 2:1:1
on client2 touch /etc/dorvek/samba/smb.sh.orig
reference delete
play capture -e reference=client1 && play apply -l clients --check --diff
check "--check --diff names the script it would remove" grep -q '/etc/dorvek/samba/smb.sh: removed' apply.out
check "and never shows a Samba password" test "$(grep -rc s3cret apply.out capture.out)" = $'apply.out:0\ncapture.out:0'
check "and removes nothing" test -e c2/etc.u/dorvek/samba/smb.sh
play apply -l clients
files=${files/dorvek\/samba\/smb.sh}
for c in 2 3; do check "client$c: the deleted printer's script is gone" test ! -e c$c/etc.u/dorvek/samba/smb.sh; check "the rest as before" same $c; done
check "a backup beside it stays" test -e c2/etc.u/dorvek/samba/smb.sh.orig
kill -9 ${pid[3]} && play apply -l clients
check "an unreachable client fails alone: $(tail -n 4 apply.out)" test "$(grep -cE '^client3 .*unreachable=1' apply.out):$(recap 0)" = 1:1
on client2 "echo '# by hand' >> /etc/printers_info" && printf '[clients]\nclient3\nclient2\n' > stopped-first
rm ~/.ansible/retry/apply.retry
ansible-playbook -i stopped-first "$fleet/apply.yml" -e config_dir=$t/config -e batch=1 -e max_fail=0 > apply.out 2>&1
check "batches of 1: the first client stopped ends the rollout" test "$(tail -n 1 c2/etc.u/printers_info)" = '# by hand'
named() { grep -q "to retry, use: --limit @$HOME/.ansible/retry/apply.retry" apply.out && [ "$(cat ~/.ansible/retry/apply.retry)" = client3 ]; }
check "the failed client is named at the end: $(tail -n 6 apply.out)" named
finish
