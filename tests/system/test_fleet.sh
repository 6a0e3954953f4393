#!/bin/bash
# The package is lintian-clean and its manual page renders. Three thin clients, each in network,
# mount and PID namespaces of its own with its own sshd and the package: client1, the reference,
# is set up through the program's own windows (fleet_reference), then fleet/capture.yml and
# fleet/apply.yml give its printers to client2 and client3.
. "$(dirname "$0")/lib.sh"
fleet=$(cd "$(dirname "$0")/../../fleet" && pwd) data=$(cd "$(dirname "$0")/../data" && pwd) && export t=/tmp/fleet
mkdir -p $t/stubs && cd $t && ssh-keygen -q -N '' -t ed25519 -f key && ssh-keygen -q -N '' -t ed25519 -f host_key
printf '#!/bin/sh\ncat > /dev/null\n' > /usr/bin/smbclient  # stand-ins: Samba's, ThinPrint's client
mkdir -p /usr/share/thinprint && printf '#!/bin/sh\nexec sleep 900\n' > /usr/share/thinprint/thnuclnt
chmod 755 /usr/bin/smbclient /usr/share/thinprint/thnuclnt && : > /dev/lp0
printf '%s\n' "HostKey $t/host_key" "AuthorizedKeysFile $t/key.pub" "StrictModes no" "UsePAM no" "Subsystem sftp internal-sftp" > sshd_config
printf '%s\n' "IdentityFile $t/key" "User root" "StrictHostKeyChecking no" "UserKnownHostsFile /dev/null" "LogLevel error" > ssh_config
printf '[reference]\nclient1\n[clients]\nclient2\nclient3\n' > hosts
export ANSIBLE_SSH_ARGS="-F $t/ssh_config -o ControlMaster=auto -o ControlPersist=120s" ANSIBLE_PIPELINING=1 \
  ANSIBLE_PYTHON_INTERPRETER=/usr/bin/python3 ANSIBLE_NOCOLOR=1
for c in 1 2 3; do echo "10.22.$c.2 client$c" >> /etc/hosts; done
# Client N: 10.22.N.2 on a veth pair; overlays over /etc, /usr, /var (uppers in $t/cN); /run; /dev/lp0.
client() {
  mkdir -p c$1/{etc,usr,var}.{u,w} && : > c$1/lp0 && chmod 666 c$1/lp0 && ip netns add c$1
  ip link add v$1 type veth peer name eth0 netns c$1 && ip addr add 10.22.$1.1/24 dev v$1 && ip link set v$1 up
  ip -n c$1 addr add 10.22.$1.2/24 dev eth0 && ip -n c$1 link set eth0 up && ip -n c$1 link set lo up
  ip netns exec c$1 unshare --mount --pid --fork --kill-child --mount-proc bash -c "
    for d in etc usr var; do mount -t overlay sandbox-\$d -o lowerdir=/\$d,upperdir=$t/c$1/\$d.u,workdir=$t/c$1/\$d.w /\$d; done
    mount -t tmpfs client-run /run && mkdir /run/sshd && mount --bind $t/c$1/lp0 /dev/lp0
    exec /usr/sbin/sshd -D -f $t/sshd_config -E $t/sshd$1.log" &
  pid[$1]=$!
}
on() { ssh -F $t/ssh_config "$@"; } && export -f on
play() { ansible-playbook -i hosts "$fleet/$1.yml" -e config_dir=$t/config "${@:2}" > $1.out 2>&1; }
recap() { grep -cE "^client[23] +: ok=[0-9]+ +changed=$1 +unreachable=0 +failed=0" apply.out; }
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
chmod 755 stubs/* && on client1 PATH=$t/stubs /usr/lib/solvo-printer-mgr/restart-spooler
check "the helper runs the program's restart lines: $(diff restart.lines $data/restart.lines)" cmp -s restart.lines $data/restart.lines
reference() { on client1 "DISPLAY=$DISPLAY $(dirname "$program")/tests/fleet_reference $1 >> $t/reference.out 2>&1 < /dev/null"; }
on client1 mkdir -p /etc/dorvek/samba  # as the program's start-up does
reference setup
play capture -e reference=client1
check "capture of the reference, into a private folder: $(tail -n 5 capture.out)" test "$(grep -cE '^client1 .* failed=0' capture.out)$(stat -c %a config)" = 1700
play apply -e deb="$(echo "$SPM_DEB_DIR"/solvo-printer-mgr_*.deb)" -l clients
check "apply installs and configures both: $(tail -n 5 apply.out)" test "$(recap '[1-9][0-9]*')" = 2
files="printcap printers_info dorvek/samba/smb.sh init.d/runlpd rcS.d/S76runlpd dorvek/thinprint.conf
  init.d/runthinprint rcS.d/S76runthinprint"
seen() { (cd c$1/etc.u && stat -c '%n %a %U:%G %N' $files && md5sum $(find $files -type f); echo "status $?") 2>&1; }
serves() { q=$(on $1 lpq -P $2 2>&1) && [[ $q == *"Printer: $2@"* && ! $q =~ rror|cannot|No\ such ]]; }
same() { [ "$(seen 1)" = "$(seen $1)" ] && seen $1 | tail -n 1 | grep -qx 'status 0'; }
for c in 2 3; do
  check "client$c holds the reference's files, modes, owners and links: $(diff <(seen 1) <(seen $c))" same $c
  check "client$c: the Samba script is 750 root:lp" test "$(stat -c %a:%U:%G c$c/etc.u/dorvek/samba/smb.sh)" = 750:root:lp
  for p in par net smb; do check "client$c answers lpq -P $p" serves client$c $p; done
  on client$c "echo job-on-client$c | lpr -P par"
  check "client$c: the job lands in its own /dev/lp0" within 20 "grep -q job-on-client$c c$c/lp0"
done
play apply -l clients
check "a second apply changes nothing: $(tail -n 4 apply.out)" test "$(recap 0)" = 2
on client2 touch /etc/dorvek/samba/smb.sh.orig
reference delete
play capture -e reference=client1 && play apply -l clients --check --diff
check "--check --diff names the script it would remove" grep -q /etc/dorvek/samba/smb.sh apply.out
check "and removes nothing" test -e c2/etc.u/dorvek/samba/smb.sh
play apply -l clients
files=${files/dorvek\/samba\/smb.sh}
for c in 2 3; do check "client$c: the deleted printer's script is gone" test ! -e c$c/etc.u/dorvek/samba/smb.sh; check "the rest as before" same $c; done
check "a backup beside it stays" test -e c2/etc.u/dorvek/samba/smb.sh.orig
kill -9 ${pid[3]} && play apply -l clients
check "an unreachable client fails alone: $(tail -n 4 apply.out)" test "$(grep -cE '^client3 .*unreachable=1' apply.out):$(recap 0)" = 1:1
finish
