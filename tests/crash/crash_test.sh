#!/bin/bash
# Kills the crash driver with SIGKILL at random moments while it saves, deletes, test-prints and
# saves the ThinPrint settings, and checks after every kill that each system file is one of the
# complete versions the action writes (or the one from before), never a part or a mix. Runs
# inside the sandbox: crash_test.sh DRIVER [KILLS_PER_ACTION]
set -u
driver=$1
kills=${2:-${SPM_CRASH_KILLS:-60}}
work=/tmp/crash
watched=(/etc/printcap /etc/printers_info /etc/dorvek/samba/smb5.sh /etc/dorvek/thinprint.conf
  /etc/init.d/runthinprint)
folders=(/etc /etc/dorvek /etc/dorvek/samba /etc/init.d)
failures=0
fail() { echo "FAIL: $*"; failures=$((failures + 1)); }

# Temporary files of interrupted replacements: ".NAME.XXXXXX" beside each watched file.
strays() { find "${folders[@]}" -maxdepth 1 -type f -name '.*.??????' 2> /dev/null | sort; }
restore() { for f in "${watched[@]}"; do cp -p "$work/old/${f##*/}" "$f"; done; }
sum() { md5sum < "$1" | cut -d' ' -f1; }

mkdir -p /etc/dorvek/samba /etc/init.d /usr/share/thinprint "$work/old"
"$driver" seed || { echo "FAIL: seeding"; exit 1; }
for f in "${watched[@]}"; do cp -p "$f" "$work/old/"; done

total=0
midwrite=0
declare -A allowed
for action in save delete test thinprint; do
  # A reference run of two rounds gives every state the files pass through.
  restore
  rm -rf "$work/states" && mkdir "$work/states"
  round_ms=$(timeout 60 "$driver" "$action" 2 "$work/states") || fail "$action: reference run"
  for f in "${watched[@]}"; do
    name=${f##*/}
    allowed[$name]=" $(sum "$work/old/$name") "
    for s in "$work/states"/*/"$name"; do allowed[$name]+="$(sum "$s") "; done
  done
  spread=$((3 * round_ms + 3))  # ms over which the kills are spread, from the window's start
  landed=0 testcap=0
  for ((i = 0; i < kills; i++)); do
    restore
    before=$(strays)
    rm -f /tmp/crash.ready
    "$driver" "$action" 0 > /dev/null 2>&1 &
    pid=$!
    for _ in $(seq 2000); do [ -e /tmp/crash.ready ] && break; sleep 0.005; done
    [ -e /tmp/crash.ready ] || fail "$action: driver not ready"
    sleep "$(printf '%d.%03d' $((RANDOM % spread / 1000)) $((RANDOM % spread % 1000)))"
    kill -9 "$pid" 2> /dev/null
    wait "$pid" 2> /dev/null
    for f in "${watched[@]}"; do
      if [ ! -f "$f" ]; then
        fail "$action kill $i: $f is missing"
      elif [[ "${allowed[${f##*/}]}" != *" $(sum "$f") "* ]]; then
        fail "$action kill $i: $f is neither an old nor a new version ($(wc -c < "$f") bytes)"
      fi
    done
    [ "$(strays)" != "$before" ] && landed=$((landed + 1))
    head -n 1 /etc/printcap | grep -q '^# ' || testcap=$((testcap + 1))
    # A restart finds every printer again, even after a kill in the middle of a test print.
    timeout 20 "$driver" start > /dev/null 2>&1 || fail "$action kill $i: restart"
    head -n 1 /etc/printcap | grep -q '^# ' || fail "$action kill $i: test printcap kept"
    [ ! -e /etc/.printcap.before-test ] || fail "$action kill $i: printcap copy kept"
  done
  echo "$action: $kills kills over ${spread} ms (one round ${round_ms} ms), $landed inside a write"
  [ "$action" = test ] && echo "test: $testcap kills left the one-printer printcap, put back"
  total=$((total + kills))
  midwrite=$((midwrite + landed))
done
echo "stray temporary files after all kills: $(strays | wc -l)"

# The next run after all those kills works, and its writes sweep away what the kills left.
restore
for action in save delete test thinprint; do
  timeout 60 "$driver" "$action" 2 > /dev/null || fail "$action after the kills"
done
left=$(strays)
[ -z "$left" ] || fail "temporary files left after a clean run: $left"

echo "$total kills survived ($midwrite inside a write)"
if [ "$failures" -ne 0 ]; then echo "$failures check(s) failed"; exit 1; fi
echo "all checks passed"
