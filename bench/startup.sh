#!/bin/bash
# Start-up time and peak RSS of solvo-printer-mgr against a bare GTK window of the same layout.
#   bench/startup.sh BUILD_DIR [RUNS]     (root; enters the sandbox with its own Xvfb)
# Each run is timed from just before exec to the map of the main window, seen from outside by
# wait_mapped; runs alternate baseline and program so drift hits both alike.
set -euo pipefail

title="Kelvane Printer Management"
self=$(cd "$(dirname "${BASH_SOURCE[0]}")" && pwd)/$(basename "${BASH_SOURCE[0]}")
repo=$(cd "$(dirname "$self")/.." && pwd)

if [ "${1:-}" != "--inside" ]; then
  [ $# -ge 1 ] || { echo "usage: $0 BUILD_DIR [RUNS]" >&2; exit 2; }
  build=$(cd "$1" && pwd)
  exec "$repo/tests/sandbox/sandbox" --xvfb --seed --keep "$build" -- \
    bash "$self" --inside "$build" "${2:-11}"
fi

build=$2
runs=$3
program=$build/solvo-printer-mgr
baseline=$build/bench/bare_window
timer=$build/bench/wait_mapped
for file in "$program" "$baseline" "$timer"; do
  [ -x "$file" ] || { echo "startup.sh: missing $file (build it first)" >&2; exit 2; }
done
# Untranslated title, whatever the caller's locale.
export LC_ALL=C LANGUAGE=

# The program refuses to start while a process of its name runs: never overlap two runs.
program_running() {
  local cmdline
  for cmdline in /proc/[0-9]*/cmdline; do
    [ "$(basename "$(tr '\0' '\n' <"$cmdline" 2>/dev/null | head -n1)")" = solvo-printer-mgr ] &&
      return 0
  done
  return 1
}

# One timed run: prints "MICROSECONDS KIB".
measure() {
  local out
  while program_running; do sleep 0.05; done
  out=$("$timer" "$title" -- "$@")
  out=${out#map_us=}
  echo "${out% rss_kib=*} ${out#* rss_kib=}"
}

median() { sort -n | awk '{ v[NR] = $1 } END { print (NR % 2) ? v[(NR + 1) / 2] : (v[NR / 2] + v[NR / 2 + 1]) / 2 }'; }

# One untimed pair first: fontconfig and the page cache are warmed for both alike.
measure "$baseline" >/dev/null
measure "$program" >/dev/null

base_results=() prog_results=()
for i in $(seq 1 "$runs"); do
  base_results+=("$(measure "$baseline")")
  prog_results+=("$(measure "$program")")
  printf 'run %2d  baseline %s  program %s\n' "$i" "${base_results[-1]}" "${prog_results[-1]}"
done

base_us=$(printf '%s\n' "${base_results[@]}" | cut -d' ' -f1 | median)
prog_us=$(printf '%s\n' "${prog_results[@]}" | cut -d' ' -f1 | median)
base_kib=$(printf '%s\n' "${base_results[@]}" | cut -d' ' -f2 | median)
prog_kib=$(printf '%s\n' "${prog_results[@]}" | cut -d' ' -f2 | median)
echo "runs: $runs each (exec to map, median)"
awk -v b="$base_us" -v p="$prog_us" -v bk="$base_kib" -v pk="$prog_kib" 'BEGIN {
  printf "baseline (bare_window):       %8.1f ms  peak RSS %6d KiB\n", b / 1000, bk
  printf "program  (solvo-printer-mgr): %8.1f ms  peak RSS %6d KiB\n", p / 1000, pk
  printf "ratio program/baseline: time %.2f  RSS %.2f\n", p / b, pk / bk
}'
