#!/bin/bash
# The package is lintian-clean and its manual page renders. Four thin clients (fleet_clients.sh):
# client1, the reference, is set up through the program's own windows (fleet_reference), then
# fleet/capture.yml and fleet/apply.yml give its printers to client2 (a hand-written printcap),
# client3 (a bind-mounted one) and client4 (a linked one), through the package's fleet helper;
# client9 is switched off.
. "$(dirname "$0")/lib.sh"
data=$(cd "$(dirname "$0")/../data" && pwd) && export t=/tmp/fleet && . "$(dirname "$0")/fleet_clients.sh"
mkdir -p stubs && printf '#!/bin/sh\ncat > /dev/null\n' > /usr/bin/smbclient  # stand-ins: Samba's, ThinPrint's client
mkdir -p /usr/share/thinprint && printf '#!/bin/sh\nexec sleep 900\n' > /usr/share/thinprint/thnuclnt
chmod 755 /usr/bin/smbclient /usr/share/thinprint/thnuclnt && : > /dev/lp0
printf '[reference]\nclient1\n[clients]\nclient2\nclient3\nclient4\n[off]\nclient9 ansible_host=10.22.9.2\n' > hosts
play() { ansible-playbook -i hosts "$fleet/$1.yml" -e config_dir=$t/config "${@:2}" > $1.out 2>&1; }
recap() { grep -cE "^client[${2:-234}] +: ok=[0-9]+ +changed=$1 +unreachable=0 +failed=0" apply.out; }
hand=$'# by hand\nlp:lp=/dev/lp0:\n' && mkdir -p c3 && printf '# mounted here\n' > c3/printcap  # client3's printcap is a bind mount
for c in 1 2 3 4; do client $c; done
for c in 1 2 3 4; do within 20 "on client$c true 2> /dev/null"; done
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
# client2 is busy installing updates (dpkg's lock held); client4's printcap is a link to a writable
# partition, and a file stands where its Samba scripts' folder belongs.
on client2 "exec python3 -c 'import fcntl, os, time; f = open(\"/var/lib/dpkg/lock-frontend\", \"w\"); fcntl.lockf(f, fcntl.LOCK_EX); print(os.getpid(), flush=True); time.sleep(300)'" > lock.pid &
on client4 "mkdir -p /var/persist /etc/dorvek && printf '$hand' > /var/persist/printcap && ln -s /var/persist/printcap /etc/printcap && touch /etc/dorvek/samba"
within 20 "test -s lock.pid" && deb=$(echo "$SPM_DEB_DIR"/solvo-printer-mgr_*.deb) && play apply -e deb="$deb" -l clients:off
failed() { grep -cE "^client$1 +: .* unreachable=$2 +failed=$3 " apply.out; }
check "without -e max_fail every reachable client is done: $(tail -n 6 apply.out)" test "$(recap '[1-9][0-9]*' 3):$(failed 2 0 1):$(failed 4 0 1):$(failed 9 1 0)" = 1:1:1:1
check "dpkg's lock is the reason" grep -qE '^fatal: \[client2\].*lock' apply.out
check "client4's failure says what was written before it" grep -qE '^fatal: \[client4\].*/etc/dorvek/samba/smb.sh: .*written: /etc/printcap /etc/printers_info' apply.out
check "the failed and unreachable clients are named" test "$(cat ~/.ansible/retry/apply.retry)" = $'client2\nclient4\nclient9'
on client2 kill "$(cat lock.pid)" && on client4 rm /etc/dorvek/samba
play apply -e deb="$deb" --limit @"$HOME/.ansible/retry/apply.retry"
check "a rerun of those does the rest: $(tail -n 5 apply.out)" test "$(recap '[1-9][0-9]*' 24):$(failed 9 1 0)" = 2:1
check "client4's printcap is written through its link, a link still" test -L c4/etc.u/printcap -a "$(readlink c4/etc.u/printcap)" = /var/persist/printcap
linked() { cmp -s c4/var.u/persist/printcap c1/etc.u/printcap && [ "$(cat c4/var.u/persist/printcap.orig)"$'\n' = "$hand" ]; }
check "with the reference's bytes, the hand-written ones kept beside them" linked
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
check "a second apply changes nothing, one module run on each: $(tail -n 4 apply.out)" test "$(recap 0):$(runs 2):$(runs 3)" = 3:1:1
on client2 "touch /etc/dorvek/samba/smb.sh.orig && lpc stop smb > /dev/null && echo a | lpr -P smb && echo b | lpr -P smb"
reference delete
play capture -e reference=client1 && play apply -l clients --check --diff
check "--check --diff names the script it would remove" grep -q '/etc/dorvek/samba/smb.sh: removed' apply.out
check "and the queue it would empty, with its jobs" grep -q 'queue of printer smb: 2 jobs removed, and its spool folder' apply.out
check "and never shows a Samba password" test "$(grep -rc s3cret apply.out capture.out)" = $'apply.out:0\ncapture.out:0'
check "and removes nothing" test -e c2/etc.u/dorvek/samba/smb.sh
play apply -l clients
check "the apply empties that queue, still of 2 jobs, and says so" grep -q 'queues emptied: smb: 2 jobs' apply.out
check "its spool folder goes with them" on client2 test ! -e /var/spool/lpd/smb
files=${files/dorvek\/samba\/smb.sh}
for c in 2 3; do check "client$c: the deleted printer's script is gone" test ! -e c$c/etc.u/dorvek/samba/smb.sh; check "the rest as before" same $c; done
check "a backup beside it stays" test -e c2/etc.u/dorvek/samba/smb.sh.orig
# Canaries: client3, switched off, and client2 are the first batch, client4 the second.
kill -9 ${pid[3]} && printf '[clients]\nclient3\nclient2\nclient4\n' > stopped-first
canary() {
  on client4 "echo '# by hand' >> /etc/printers_info" && rm -f ~/.ansible/retry/apply.retry
  ansible-playbook -i stopped-first "$fleet/apply.yml" -e config_dir=$t/config -e batch=2 -e max_fail=$1 > apply.out 2>&1
  echo "status $?:$(tail -n 1 c4/etc.u/printers_info)"
}
named() { grep -q "to retry, use: --limit @$HOME/.ansible/retry/apply.retry" apply.out && grep -qx client3 ~/.ansible/retry/apply.retry; }
check "-e max_fail=0: a client of the first batch switched off stops the rollout" test "$(canary 0)" = 'status 2:# by hand'
check "the switched-off client is named at the end: $(tail -n 6 apply.out)" named
check "-e max_fail=50: one of two may fail, the second batch is reached" test "$(canary 50)" = "status 2:$(tail -n 1 c1/etc.u/printers_info)"
finish
