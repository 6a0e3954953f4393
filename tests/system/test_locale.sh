#!/bin/bash
# The real binary under a German locale with the built catalogues installed where it reads
# them: its window title is German, the refusal of an unauthorised user stays English.
set -u
. "$(dirname "$0")/lib.sh"
program=$1
chmod o+rx "$(dirname "$program")"

localedef --no-archive -i de_DE -f UTF-8 de_DE.UTF-8
cp -r "$(dirname "$program")/locale/." /usr/share/locale/
export LANG=de_DE.UTF-8

"$program" > /dev/null 2>&1 &
pid=$!
window=$(TITLE="Kelvane Druckerverwaltung" wait_for_window)
check "German window title" test -n "$window"
kill "$pid" 2> /dev/null
wait "$pid" 2> /dev/null

groupadd admin
useradd -M -N -g admin outsider
stub_tool xmessage /tmp/xmessage.log
: > /tmp/xmessage.log
chmod 666 /tmp/xmessage.log
output=$(setpriv --reuid outsider --regid admin --clear-groups "$program" 2> /dev/null)
check "refusal line stays English (got: $output)" \
  test "$output" = "You are not authorized to use this applet"
check "refusal message box stays English" \
  grep -qx "/usr/local/bin/xmessage -center -timeout 5 You are not authorized to use this applet" \
  /tmp/xmessage.log
finish
