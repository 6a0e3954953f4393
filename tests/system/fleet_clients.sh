# Simulated thin clients, sourced by test_fleet.sh and bench/fleet.sh inside the sandbox. Client
# N has network (a veth pair, 10.22.N.2, named clientN in /etc/hosts), mount (overlays over /etc,
# /usr, /var with their upper layers in $t/cN/, so its files can be read from outside; its own
# /run, /dev/lp0 and /tmp, with $t, the source tree, the build, the package and the X server's
# sockets still in it (a clone may lie under /tmp), so that no fixed /tmp path of the helper meets
# another client's; /etc/printcap bind-mounted from $t/cN/printcap where that file exists) and
# PID namespaces of its own (the restart's killall stays in one client), and an sshd with the
# host and root keys made here. Needs $t; works in it.
mkdir -p $t && cd $t && ssh-keygen -q -N '' -t ed25519 -f key && ssh-keygen -q -N '' -t ed25519 -f host_key
printf '%s\n' "HostKey $t/host_key" "AuthorizedKeysFile $t/key.pub" "StrictModes no" "UsePAM no" "Subsystem sftp internal-sftp" > sshd_config
printf '%s\n' "IdentityFile $t/key" "User root" "StrictHostKeyChecking no" "UserKnownHostsFile /dev/null" "LogLevel error" > ssh_config
fleet=$(cd "$(dirname "${BASH_SOURCE[0]}")/../../fleet" && pwd)
# The folders under /tmp that a client still sees in its own /tmp.
shown=$(for p in $t "$(dirname "$fleet")" ${SPM_DEB_DIR:-} ${program:+"$(dirname "$program")"} ${build:-} /tmp/.X11-unix; do
  case $p in /tmp/?*) r=${p#/tmp/} && if [ -d "$p" ]; then echo "/tmp/${r%%/*}"; fi ;; esac; done | sort -u | tr '\n' ' ')
export ANSIBLE_CONFIG=$fleet/ansible.cfg ANSIBLE_SSH_ARGS="-F $t/ssh_config -o ControlMaster=auto -o ControlPersist=120s" \
  ANSIBLE_PYTHON_INTERPRETER=/usr/bin/python3 ANSIBLE_NOCOLOR=1
client() {
  mkdir -p c$1/{etc,usr,var}.{u,w} && : > c$1/lp0 && chmod 666 c$1/lp0 && ip netns add c$1
  ip link add v$1 type veth peer name eth0 netns c$1 && ip addr add 10.22.$1.1/24 dev v$1 && ip link set v$1 up
  ip -n c$1 addr add 10.22.$1.2/24 dev eth0 && ip -n c$1 link set eth0 up && ip -n c$1 link set lo up
  echo "10.22.$1.2 client$1" >> /etc/hosts
  ip netns exec c$1 unshare --mount --pid --fork --kill-child --mount-proc bash -c "
    for d in etc usr var; do mount -t overlay sandbox-\$d -o lowerdir=/\$d,upperdir=$t/c$1/\$d.u,workdir=$t/c$1/\$d.w /\$d; done
    mount -t tmpfs client-run /run && mkdir /run/sshd /run/tmp && mount --bind $t/c$1/lp0 /dev/lp0
    mount --rbind /tmp /run/tmp && mount -t tmpfs client-tmp /tmp && chmod 1777 /tmp
    for p in $shown; do mkdir -p \$p && mount --rbind /run/tmp/\${p#/tmp/} \$p; done
    if [ -e $t/c$1/printcap ]; then touch /etc/printcap && mount --bind $t/c$1/printcap /etc/printcap; fi
    exec /usr/sbin/sshd -D -f $t/sshd_config -E $t/sshd$1.log" &
  pid[$1]=$!
}
on() { ssh -F $t/ssh_config "$@"; } && export -f on
