#!/bin/bash
# SIGKILLs the crash driver at random moments of save, delete, test print and ThinPrint save;
# after each kill and a restart every watched file is whole: the version from before or one
# the action writes. Inside the sandbox: crash_test.sh DRIVER [KILLS_PER_ACTION]
driver=$1 kills=${2:-${SPM_CRASH_KILLS:-60}} failures=0 total=0 midwrite=0
watched="/etc/printcap /etc/printers_info /etc/dorvek/samba/smb5.sh /etc/dorvek/thinprint.conf
  /etc/init.d/runthinprint"
fail() { echo "FAIL: $*"; failures=$((failures + 1)); }
# Temporary files of interrupted replacements: ".NAME.XXXXXX" beside each watched file.
strays() { find /etc /etc/dorvek /etc/dorvek/samba /etc/init.d -maxdepth 1 -name '.*.??????'; }
restore() { for f in $watched; do cp -p /tmp/old/${f##*/} $f; done; }
# 300 printers, so that writing takes a while; smb5 prints through Samba.
mkdir -p /etc/dorvek/samba /etc/init.d /etc/rcS.d /usr/share/thinprint /tmp/old
for i in $(seq 0 299); do echo "lp$i|Printer $i:lp=/dev/lp0:"; done | sed 's/lp5|.*/smb5:lp=|\/etc\/dorvek\/samba\/smb5.sh:/' > /etc/printcap
{ echo BANDWIDTH=256000; seq -f '/dev/lp0 tp%g' 0 299; } > /etc/dorvek/thinprint.conf
printf '#!/bin/sh\n' > /usr/share/thinprint/thnuclnt && chmod 755 /usr/share/thinprint/thnuclnt
"$driver" save 1 && "$driver" thinprint 1 && cp -p $watched /tmp/old/ || fail "seeding"
for action in save delete test thinprint; do
  allowed=$(md5sum /tmp/old/*)
  for n in 1 2; do  # the versions the action writes: after one round and after two
    restore; start=$(date +%s%N)
    timeout 60 "$driver" $action $n || fail "$action: reference run"
    spread=$((($(date +%s%N) - start) / 1000000 + 3)) allowed+=$'\n'$(md5sum $watched)
  done
  landed=0
  for ((i = 0; i < kills; i++)); do
    restore; before=$(strays); rm -f /tmp/crash.ready
    "$driver" $action 0 > /dev/null 2>&1 & pid=$!
    timeout 10 bash -c 'until [ -e /tmp/crash.ready ]; do sleep 0.005; done' || fail "$action: not ready"
    ms=$((RANDOM % spread)); sleep $((ms / 1000)).$(printf %03d $((ms % 1000)))
    kill -9 $pid; wait $pid 2> /dev/null
    [ "$(strays)" != "$before" ] && landed=$((landed + 1))
    # A restart puts the full printcap back after a kill in the middle of a test print.
    timeout 20 "$driver" start > /dev/null 2>&1 || fail "$action kill $i: restart"
    for f in $watched; do
      grep -q "^$(md5sum < $f | cut -d' ' -f1) " <<< "$allowed" || fail "$action kill $i: $f torn"
    done
    [ ! -e /etc/.printcap.before-test ] || fail "$action kill $i: printcap copy kept"
  done
  echo "$action: $kills kills over $spread ms, $landed inside a write"
  total=$((total + kills)) midwrite=$((midwrite + landed))
done
# A clean run after all those kills works, and sweeps away the temporary files they left.
restore
for action in save delete test thinprint; do timeout 60 "$driver" $action 2 || fail "$action after the kills"; done
[ -z "$(strays)" ] || fail "temporary files left after a clean run: $(strays)"
echo "$total kills survived ($midwrite inside a write)"
[ $failures = 0 ] || { echo "$failures check(s) failed"; exit 1; }
