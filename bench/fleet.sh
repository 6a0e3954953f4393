#!/bin/bash
# The fleet rollout's cost per client against `ansible -m ping` on the same clients: simulated
# thin clients as the fleet test makes them (tests/system/fleet_clients.sh: network, mount and
# PID namespaces and an sshd each), the fleet helper from BUILD_DIR, fleet/ with its ansible.cfg.
#   bench/fleet.sh BUILD_DIR [ROUNDS] [N...]     (as root, inside tests/sandbox/sandbox)
# For each N (default 10 30): ROUNDS (default 3) rounds of ping, a first apply (the clients'
# printer files removed before) and an unchanged apply, each with fresh SSH connections; the
# least of each measure, as a shared machine only adds. Prints per N one line
#   fleet.N clients=N ping_cpu=S ping_wall=S first_cpu=S first_wall=S unchanged_cpu=S unchanged_wall=S
# CPU: seconds of the whole machine (/proc/stat, every CPU, all but idle and I/O wait) per
# client; wall: seconds for the whole run. Ansible's output goes to $t/*.out.
set -euo pipefail
# Ansible refuses a standard input that is not blocking (as a terminal multiplexer may leave it).
exec </dev/null
[ -d /mnt/etc.upper ] || { echo "fleet.sh: run it inside tests/sandbox/sandbox" >&2; exit 2; }
build=$(cd "$1" && pwd) rounds=${2:-3}
shift $(($# < 2 ? $# : 2))
sizes=("$@") && [ ${#sizes[@]} -gt 0 ] || sizes=(10 30)
repo=$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)
export t=/tmp/fleet-bench
. "$repo/tests/system/fleet_clients.sh"
install -D "$build/fleet-helper" /usr/lib/solvo-printer-mgr/fleet-helper && : > /dev/lp0
most=0 && for n in "${sizes[@]}"; do [ "$n" -le "$most" ] || most=$n; done
for ((c = 1; c <= most + 1; ++c)); do client $c; done
for ((c = 1; c <= most + 1; ++c)); do
  timeout 20 bash -c "until on client$c true 2> /dev/null; do sleep 0.1; done" || { echo "client$c: no sshd" >&2; exit 1; }
done

# client1 is the reference: the sandbox's example printers and the boot-time switch.
on client1 "SPM_IN_SANDBOX=1 bash $repo/tests/sandbox/seed && printf '#! /bin/sh\n' > /etc/init.d/runlpd &&
  chmod 755 /etc/init.d/runlpd && ln -s /etc/init.d/runlpd /etc/rcS.d/S76runlpd"
printf '[reference]\nclient1\n' > reference
ansible-playbook -i reference "$fleet/capture.yml" -e reference=client1 -e config_dir=$t/config > capture.out 2>&1 ||
  { tail -n 20 capture.out >&2; exit 1; }

busy() { awk '/^cpu / { print $2 + $3 + $4 + $7 + $8 + $9 }' /proc/stat; }  # jiffies, all CPUs
hz=$(getconf CLK_TCK) run=0
# Runs the command; prints "CPU-seconds per client, wall seconds" and fails on a failed client.
measure() {
  local n=$1 log=$2 b0 b1 w0 w1
  shift 2
  run=$((run + 1)) && export ANSIBLE_SSH_CONTROL_PATH_DIR=$t/cp.$run  # fresh connections
  b0=$(busy) w0=$(date +%s.%N)
  "$@" > $log 2>&1 || { tail -n 20 $log >&2; exit 1; }
  b1=$(busy) w1=$(date +%s.%N)
  awk -v b="$((b1 - b0))" -v hz=$hz -v n=$n -v w="$w1 - $w0" 'BEGIN { split(w, p, " - "); printf "%.4f %.3f\n", b / hz / n, p[1] - p[2] }'
}
clear_clients() {
  local removing=()
  for ((c = 2; c <= $1 + 1; ++c)); do
    on client$c "rm -f /etc/printcap /etc/printers_info /etc/dorvek/samba/*.sh /etc/init.d/runlpd \
      /etc/rcS.d/S76runlpd /etc/dorvek/thinprint.conf /etc/init.d/runthinprint /etc/rcS.d/S76runthinprint" &
    removing+=($!)
  done
  wait "${removing[@]}"  # not the clients' sshds
}
least() { [ -z "$1" ] && echo "$2" || awk -v a="$1" -v b="$2" 'BEGIN { split(a, x, " "); split(b, y, " ");
  printf "%s %s\n", (y[1] < x[1] ? y[1] : x[1]), (y[2] < x[2] ? y[2] : x[2]) }'; }

for n in "${sizes[@]}"; do
  { echo "[clients]"; for ((c = 2; c <= n + 1; ++c)); do echo client$c; done; } > clients
  ping="" first="" unchanged=""
  apply() { ansible-playbook -i clients "$fleet/apply.yml" -e config_dir=$t/config; }
  for ((r = 1; r <= rounds; ++r)); do
    ping=$(least "$ping" "$(measure $n ping.out ansible -i clients all -m ping)")
    clear_clients $n
    first=$(least "$first" "$(measure $n first.out apply)")
    grep -qE "^client2 +: ok=[0-9]+ +changed=1 " first.out || { echo "fleet.sh: the first apply changed nothing" >&2; exit 1; }
    unchanged=$(least "$unchanged" "$(measure $n unchanged.out apply)")
    grep -qE "^client2 +: ok=[0-9]+ +changed=0 " unchanged.out || { echo "fleet.sh: the second apply changed" >&2; exit 1; }
  done
  set -- $ping $first $unchanged
  echo "fleet.$n clients=$n ping_cpu=$1 ping_wall=$2 first_cpu=$3 first_wall=$4 unchanged_cpu=$5 unchanged_wall=$6"
done
