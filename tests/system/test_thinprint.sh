#!/bin/bash
# ThinPrint "Save" on the real binary, with a stand-in client that records its arguments:
# exactly one client runs, with the saved settings, also after a second Save; Save with
# ThinPrint off stops it and removes the start script and its boot link.
. "$(dirname "$0")/lib.sh"
mkdir -p /usr/share/thinprint /etc/dorvek /etc/init.d /etc/rcS.d
printf '#!/bin/bash\nprintf "%%s\\n" "$@" > /tmp/args\nwhile :; do sleep 1; done\n' > /usr/share/thinprint/thnuclnt
chmod 755 /usr/share/thinprint/thnuclnt
printf 'BANDWIDTH=256000\n/dev/usb/lp0 Laser\n' > /etc/dorvek/thinprint.conf
printf '#!/bin/sh\n' > /etc/init.d/runthinprint  # makes "Enable ThinPrint" active
clients() { for _ in $(seq 100); do [ "$(pgrep -xc thnuclnt)" = "$1" ] && return; sleep 0.1; done; false; }
click() { xdotool mousemove --window "$w" "$1" "$2" click 1; sleep 0.3; }
save() {  # "Save", then Return on its "Config Saved..." message
  click 462 325
  d=$(timeout 10 xdotool search --sync --onlyvisible --name "Config Saved..." | head -n 1)
  xdotool windowfocus --sync "$d" key --window "$d" Return; sleep 0.5
}
"$program" > /dev/null 2>&1 &
w=$(window)
click 142 17  # the ThinPrint tab
save
check "one client runs after Save" clients 1
check "with the saved settings" test "$(cat /tmp/args)" = $'-b\n256000\n-dev\n/dev/usb/lp0\n-name\nLaser'
first=$(pgrep -x thnuclnt)
save
check "a second Save replaces it" clients 1 && check "by another" test "$(pgrep -x thnuclnt)" != "$first"
click 13 50  # "Enable ThinPrint" off
save
check "no client after Save with ThinPrint off" clients 0
check "start script and boot link removed" test ! -e /etc/init.d/runthinprint -a ! -L /etc/rcS.d/S76runthinprint
finish
