#!/bin/bash
# Finding printers against real daemons in the sandbox: a second LPRng host in network, mount
# and PID namespaces of its own (10.23.0.2, queues raw and laser, listening on port 515), an
# Avahi daemon on the sandbox's own system bus announcing printers on a veth pair (over LPD,
# IPP and raw printing), and an smbd known only by its NetBIOS name from lmhosts, with three
# printer shares and a disk share. The editor's side runs in-process: gui_printers
# --gtest_filter='Finding.*', then once more under valgrind, then with the Avahi daemon stopped.
. "$(dirname "$0")/lib.sh"
supp=$(realpath "$(dirname "$0")/../valgrind.supp")
t=/tmp/find && mkdir -p $t/{spool,run} && cd $t && : > raw.out && : > laser.out && chmod 666 ./*.out
printf 'raw:lp=%s/raw.out:sd=/var/spool/lpd/raw\nlaser:lp=%s/laser.out:sd=/var/spool/lpd/laser\n' $t $t > printcap
"$(dirname "$supp")"/sandbox/lpd_host.sh lpdhost $t
# Avahi needs an interface that does multicast: lo does not, a veth pair does.
ip link add av0 type veth peer name av1 && ip link set av1 up && ip link set av0 up && ip addr add 10.24.0.1/24 dev av0
mkdir -p /run/dbus /run/avahi-daemon && dbus-daemon --system --fork
printf '[server]\nhost-name=sandbox\nuse-ipv6=no\nallow-interfaces=av0\n[publish]\npublish-workstation=no\n' > avahi.conf
avahi-daemon --no-drop-root --no-chroot --no-rlimits -f avahi.conf > avahi.log 2>&1 &
avahi=$!
check "the Avahi daemon answers" within 10 'avahi-browse -at > /dev/null 2>&1'
avahi-publish -a -R lpdhost.local 10.23.0.2 > /dev/null 2>&1 &
avahi-publish -a -R deadhost.local 10.24.0.9 > /dev/null 2>&1 &  # nobody there
announce() { avahi-publish -s -H "$1" "$2" "$3" "$4" "${@:5}" > /dev/null 2>&1 & }
announce lpdhost.local 'Office Laser' _printer._tcp 515 rp=laser
announce lpdhost.local 'Office Laser' _ipp._tcp 631 rp=ipp/print
announce lpdhost.local 'Office Laser' _pdl-datastream._tcp 9100
announce lpdhost.local 'Raw Only' _ipp._tcp 631 rp=printers/raw
announce deadhost.local 'Dead End' _ipp._tcp 631 rp=ipp/print
avahi-publish -s Plain _printer._tcp 515 > /dev/null 2>&1 &
s=$t/smb && mkdir -p $s/{priv,lock,state,cache,pid,spool,disk,out} && chmod 1777 $s/spool $s/out
# A Windows PC as most offices have it: no DNS entry, no /etc/hosts line; smbclient finds it.
echo '127.0.0.1 OFFICEPC' > /etc/samba/lmhosts
printf '%s\n' '[global]' 'netbios name = OFFICEPC' 'server role = standalone server' 'interfaces = lo' 'bind interfaces only = yes' \
  "private dir = $s/priv" "lock directory = $s/lock" "state directory = $s/state" "cache directory = $s/cache" \
  "pid directory = $s/pid" "ncalrpc dir = $s/ncalrpc" 'load printers = no' 'printing = bsd' \
  'printcap name = /dev/null' 'disable spoolss = yes' 'map to guest = bad user' \
  '[laser]' 'comment = Laser on the 2nd floor' "path = $s/spool" 'printable = yes' "print command = cp %s $s/out/laser; rm %s" \
  '[colour]' 'comment = Colour' "path = $s/spool" 'printable = yes' 'guest ok = yes' "print command = rm %s" \
  '[HP LaserJet 1020]' 'comment = HP' "path = $s/spool" 'printable = yes' 'guest ok = yes' "print command = rm %s" \
  '[files]' 'comment = Just files' "path = $s/disk" > $s/smb.conf
useradd -M ann && printf 'ann-pw\nann-pw\n' | smbpasswd -c $s/smb.conf -a -s ann > /dev/null
smbd --foreground --no-process-group -s $s/smb.conf > $s/smbd.out 2>&1 &
check "lpdhost and smbd listen" within 10 "ip netns exec lpdhost ss -ltn | grep -q :515 && ss -ltn | grep -q :445"
check "the printers are announced" within 10 '[ $(avahi-browse -t -p _printer._tcp 2> /dev/null | wc -l) = 2 ] &&
  [ $(avahi-browse -t -p _ipp._tcp 2> /dev/null | wc -l) = 3 ] && avahi-browse -t -p _pdl-datastream._tcp | grep -q Office'
check "OFFICEPC is not known to the resolver" test -z "$(getent hosts OFFICEPC)"
gui() { SPM_TEST_FIND=$1 "${@:2}" "$(dirname "$program")"/tests/gui_printers --gtest_filter="Finding.$1" > gui.out 2>&1; }
passed() { grep -q "^\[  PASSED  \] $1 test" gui.out; }
gui '*'
check "Find, Browse and their test pages: $(grep -B2 -A8 'Failure\|Alarm' gui.out || tail -5 gui.out)" passed 2
# Under valgrind (slow: its time limits may not hold, so only memcheck's verdict counts).
gui '*' env G_SLICE=always-malloc G_DEBUG=gc-friendly valgrind --quiet --error-exitcode=99 \
  --leak-check=full --errors-for-leak-kinds=definite --show-leak-kinds=definite --num-callers=40 \
  --suppressions="$supp"
rc=$?
check "memcheck finds nothing in Find and Browse (status $rc): $(grep -A30 '^==' gui.out | head -60)" \
  eval '[ $rc != 99 ] && grep -q "^\[==========\] 3 tests" gui.out'

kill $avahi && wait $avahi
gui WithoutAvahi
check "without the Avahi daemon: $(grep -B2 -A8 'Failure\|Alarm' gui.out)" passed 1
finish
