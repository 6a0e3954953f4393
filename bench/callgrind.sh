#!/bin/bash
# Instructions of the program's start-up with 100 printers, counted by callgrind: exact and
# repeatable where times are not, so a change can be compared run to run.
#   bench/callgrind.sh BUILD_DIR [PRINTERS]    (root; enters the sandbox with its own Xvfb)
# Counts bench/startup_once (the program's start-up, ending once the main window is mapped) and
# the bare window of the same layout (baseline), and prints
#   callgrind printers=N base_ir=.. total_ir=.. own_ir=.. own_src_ir=.. read_printcap_ir=..
#             drawprintjobs_ir=.. combo_ir=..
# own_ir: instructions executed inside the program's own executable (our code and the library
# templates compiled into it); own_src_ir: the part whose lines are in src/; *_ir of a function:
# inclusive (with what it calls in the toolkit); combo_ir: the Jobs chooser's GtkComboBox
# building its menu and measuring every row (inside the toolkit). Profiles stay as BUILD_DIR/callgrind*.out.
set -euo pipefail

self=$(cd "$(dirname "${BASH_SOURCE[0]}")" && pwd)/$(basename "${BASH_SOURCE[0]}")
repo=$(cd "$(dirname "$self")/.." && pwd)

if [ "${1:-}" != "--inside" ]; then
  [ $# -ge 1 ] || { echo "usage: $0 BUILD_DIR [PRINTERS]" >&2; exit 2; }
  build=$(cd "$1" && pwd)
  exec "$repo/tests/sandbox/sandbox" --xvfb --keep "$build" -- \
    bash "$self" --inside "$build" "${2:-100}"
fi

build=$2
printers=$3
program=$build/bench/startup_once
out=$build/callgrind.out
export LC_ALL=C LANGUAGE=
"$build/bench/bench_data" printcap "$printers" >/etc/printcap
# The window icon where the package installs it, as bench/startup.sh has it.
[ -f "$build/quillan16.png" ] && install -D -m 644 "$build/quillan16.png" /usr/share/pixmaps/quillan16.png
# The sandbox starts without fontconfig's cache: whichever side ran first would pay for
# scanning every font (about 40 M instructions) and leave the cache to the other. One run of
# the baseline first makes the cache for both.
"$build/bench/bare_window" --exit-when-mapped >/dev/null 2>&1 || true
valgrind --tool=callgrind --callgrind-out-file="$out" "$program" 2>"$build/callgrind.log"
valgrind --tool=callgrind --callgrind-out-file="$build/callgrind-baseline.out" \
  "$build/bench/bare_window" --exit-when-mapped 2>>"$build/callgrind.log"
base=$(awk '/^(summary|totals):/ { print $2; exit }' "$build/callgrind-baseline.out")

# Self cost per object, straight from the profile: "ob=" names the object of the functions
# that follow, a cost line is "POSITION IR", and the line after "calls=" is a callee's
# inclusive cost, which must not count twice. Names may be compressed to "(id)".
own=$(awk -v program="$program" -v src="$repo/src/" '
  function named(kind, rest,   id, name) {
    id = rest; sub(/\).*/, "", id); sub(/^\(/, "", id)
    name = rest; sub(/^\([0-9]+\) ?/, "", name)
    if (rest !~ /^\(/) return rest
    if (name != "") names[kind, id] = name
    return names[kind, id]
  }
  /^ob=/ { object = named("ob", substr($0, 4)); next }
  /^fl=/ { file = named("fl", substr($0, 4)); line_file = file; next }
  /^f[ie]=/ { line_file = named("fl", substr($0, 4)); next }
  /^fn=/ { line_file = file; next }
  /^c(ob|fl|fi|fn)=/ {
    k = substr($0, 1, 3); sub(/^c/, "", k); if (k == "fi") k = "fl"
    named(k, substr($0, 5)); next
  }
  /^calls=/ { skip = 1; next }
  /^[0-9+*-]/ {
    if (skip) { skip = 0; next }
    total += $2
    if (object == program) { own += $2; if (index(line_file, src) == 1) own_src += $2 }
  }
  END { printf "total_ir=%d own_ir=%d own_src_ir=%d", total, own, own_src }
' "$out")

inclusive() {
  callgrind_annotate --inclusive=yes --threshold=100 "$out" 2>/dev/null |
    awk -v fn="$1" '(index($0, ":" fn "(") || index($0, ":" fn " [")) && !done { gsub(",", "", $1); print $1; done = 1 }'
}
# Either may be missing from the profile (no combo box work at start-up): count it as 0.
set_model=$(inclusive gtk_combo_box_set_model)
measure_rows=$(inclusive gtk_cell_view_get_size_of_row)
combo=$((${set_model:-0} + ${measure_rows:-0}))
echo "callgrind printers=$printers base_ir=$base $own read_printcap_ir=$(inclusive readPrintcap)" \
  "drawprintjobs_ir=$(inclusive drawprintjobs) combo_ir=$combo"
