#!/bin/bash
# A second LPRng host for tests that cross a network: 10.23.0.2 (this side 10.23.0.1, a veth
# pair) in network, mount and PID namespaces of its own, serving the printcap in folder DIR on
# port 515 to anyone. Its lpd is a copy named lpdhost, so the program's "killall lpd" spares it.
# Returns once it listens. Inside the sandbox only.
# Usage: lpd_host.sh NETNS DIR
set -e
ns=$1 t=$2
[ -f "$t/printcap" ] || { echo "lpd_host.sh: no $t/printcap" >&2; exit 2; }
mkdir -p "$t/spool" "$t/run" /var/spool/lpd && touch /etc/printcap
cp /usr/sbin/lpd "$t/lpdhost"
echo 'DEFAULT ACCEPT' > "$t/lpd.perms" && echo 'lpd_listen_port=515' > "$t/lpd.conf"
ip netns add "$ns" && ip link add v0 type veth peer name eth0 netns "$ns"
ip addr add 10.23.0.1/24 dev v0 && ip link set v0 up && ip -n "$ns" addr add 10.23.0.2/24 dev eth0
ip -n "$ns" link set eth0 up && ip -n "$ns" link set lo up
ip netns exec "$ns" unshare --mount --pid --fork --kill-child --mount-proc bash -c "
  for f in printcap lprng/lpd.perms lprng/lpd.conf; do mount --bind $t/\${f#*/} /etc/\$f; done
  mount --bind $t/spool /var/spool/lpd && mount --bind $t/run /run && mkdir /run/lprng
  chown daemon:lp /var/spool/lpd /run/lprng && checkpc -f > /dev/null 2>&1; $t/lpdhost; exec sleep 900" > /dev/null 2>&1 &
for _ in $(seq 100); do ip netns exec "$ns" ss -ltn | grep -q :515 && exit 0; sleep 0.1; done
echo "lpd_host.sh: the host's lpd does not listen" >&2; exit 1
