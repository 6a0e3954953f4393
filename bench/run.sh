#!/bin/bash
# Every benchmark, then one table. Each figure is a median over alternating runs, set against a
# baseline measured in the same invocation; start-up is judged on the mean of its fastest quarter
# of runs, its median beside it.
#   bench/run.sh BUILD_DIR [RUNS]      (root: the process benches run in tests/sandbox/sandbox)
# RUNS (default 7, at least 5) is the number of timed runs of each side (start-up: at least 25).
# Raw output and the benches' logs go to BUILD_DIR/bench-results/.
set -euo pipefail

here=$(cd "$(dirname "${BASH_SOURCE[0]}")" && pwd)
repo=$(cd "$here/.." && pwd)
[ $# -ge 1 ] || { echo "usage: $0 BUILD_DIR [RUNS]" >&2; exit 2; }
build=$(cd "$1" && pwd)
runs=${2:-7}
[ "$runs" -ge 5 ] || { echo "run.sh: RUNS must be at least 5" >&2; exit 2; }
out=$build/bench-results
mkdir -p "$out"
sandbox=$repo/tests/sandbox/sandbox

step() { printf '== %s\n' "$*" >&2; }

step "readers and writers (Google Benchmark, $runs repetitions interleaved)"
"$build/bench/store_bench" --benchmark_repetitions="$runs" \
  --benchmark_enable_random_interleaving=true --benchmark_report_aggregates_only=true \
  --benchmark_format=csv >"$out/store.csv" 2>"$out/store.log"

# Start-up is judged on its fastest quarter, so it takes at least 25 runs of each side.
startup_runs=$((runs > 25 ? runs : 25))
step "start-up at 0, 100 and 1,000 printers, and 100 in Japanese ($startup_runs runs each side)"
bash "$here/startup.sh" "$build" "$startup_runs" >"$out/startup.txt" 2>"$out/startup.log"

step "spooler restart, 10 printers ($runs runs each side)"
"$sandbox" --seed -- "$build/bench/restart_bench" "$runs" >"$out/restart.txt" 2>"$out/restart.log"

step "Jobs page refresh with 1,000 jobs, and listings while hidden (about 10 s)"
"$sandbox" --xvfb -- "$build/bench/jobs_bench" "$((runs * 3))" >"$out/jobs.txt" 2>"$out/jobs.log"

step "instruction counts of start-up with 100 printers (callgrind, about 30 s)"
bash "$here/callgrind.sh" "$build" 100 >"$out/callgrind.txt" 2>"$out/callgrind.log"

fleet_clients=${FLEET_CLIENTS:-10 30}
step "fleet rollout against ansible -m ping at $fleet_clients clients (a few minutes)"
# shellcheck disable=SC2086  # one argument per client count
"$sandbox" -- bash "$here/fleet.sh" "$build" "${FLEET_ROUNDS:-3}" $fleet_clients >"$out/fleet.txt" 2>"$out/fleet.log"

# key=value pairs of a result line, as awk variables.
cat "$out/startup.txt" "$out/restart.txt" "$out/jobs.txt" "$out/callgrind.txt" "$out/fleet.txt" >"$out/results.txt"
awk -F, -v runs="$runs" -v fleet="$fleet_clients" '
  FNR == 1 && FILENAME ~ /store.csv$/ { next }
  FILENAME ~ /store.csv$/ {
    name = $1; gsub(/"/, "", name)
    if (name !~ /_median$/) next
    sub(/_median$/, "", name)
    split(name, part, "/"); store[part[1], part[2]] = $4 / 1e6   # CPU time, ms
    next
  }
  {
    n = split($0, word, " ")
    key = word[1]; if (word[2] ~ /^printers=/) key = key "." substr(word[2], 10)
    for (i = 2; i <= n; ++i) { split(word[i], kv, "="); r[key, kv[1]] = kv[2] }
  }
  function row(what, base, prog, ratio, target, met) {
    printf "%-46s %11s %11s %9s %10s  %s\n", what, base, prog, ratio, target, met
  }
  function ms(v) { return v < 1 ? sprintf("%.1f us", v * 1000) : sprintf("%.2f ms", v) }
  function mib(v) { return sprintf("%.1f MiB", v / 1024) }
  function verdict(ok) { return ok ? "yes" : "NO" }
  END {
    printf "solvo-printer-mgr benchmarks: medians of %d runs, each against its baseline; start-up:\n", runs
    printf "mean of the fastest quarter of %d runs, then the median\n\n", r["startup.100", "runs"]
    row("what", "baseline", "program", "ratio", "target", "met")
    row("----", "--------", "-------", "-----", "------", "---")
    for (s = 0; s < 4; ++s) {
      p = (s == 0) ? 0 : (s == 1 || s == 3) ? 100 : 1000; k = "startup." p (s == 3 ? ".ja" : "")
      b = r[k, "base_fq_us"] / 1000; q = r[k, "prog_fq_us"] / 1000
      lim = (p == 100) ? 1.15 : (p == 1000) ? 1.3 : 0
      row("start-up to mapped, " p " printers" (s == 3 ? ", LANGUAGE=ja" : ""), ms(b), ms(q),
          sprintf("%.2fx", q / b), lim ? sprintf("<= %.2fx", lim) : "", lim ? verdict(q / b <= lim) : "")
      b = r[k, "base_us"] / 1000; q = r[k, "prog_us"] / 1000
      row("  median of " r[k, "runs"] " runs", ms(b), ms(q), sprintf("%.2fx", q / b), "", "")
      db = r[k, "prog_kib"] - r[k, "base_kib"]
      row("  peak RSS", mib(r[k, "base_kib"]), mib(r[k, "prog_kib"]), sprintf("%+.1f MiB", db / 1024),
          p == 100 ? "<= +2 MiB" : "", p == 100 ? verdict(db <= 2048) : "")
    }
    row("start-up instructions, 100 printers", sprintf("%.1f M", r["callgrind.100", "base_ir"] / 1e6),
        sprintf("%.1f M", r["callgrind.100", "total_ir"] / 1e6),
        sprintf("%.2fx", r["callgrind.100", "total_ir"] / r["callgrind.100", "base_ir"]), "", "")
    own = r["callgrind.100", "own_ir"]; tot = r["callgrind.100", "total_ir"]
    row("  in our executable (self cost)", "", sprintf("%.2f M", own / 1e6),
        sprintf("%.2f%%", 100 * own / tot), "", "")
    row("  readPrintcap incl. toolkit calls", "", sprintf("%.2f M", r["callgrind.100", "read_printcap_ir"] / 1e6),
        sprintf("%.2f%%", 100 * r["callgrind.100", "read_printcap_ir"] / tot), "", "")
    row("  Jobs page build incl. toolkit", "", sprintf("%.2f M", r["callgrind.100", "drawprintjobs_ir"] / 1e6),
        sprintf("%.2f%%", 100 * r["callgrind.100", "drawprintjobs_ir"] / tot), "", "")
    combo = r["callgrind.100", "combo_ir"]
    row("  GtkComboBox menu + row measuring", "", sprintf("%.2f M", combo / 1e6),
        sprintf("%.2f%%", 100 * combo / tot), "", "")
    row("  rest over baseline (toolkit, ours)", "", sprintf("%.2f M", (tot - r["callgrind.100", "base_ir"] - combo) / 1e6),
        sprintf("%.2fx", (tot - combo) / r["callgrind.100", "base_ir"]), "", "")
    split("PrintcapParse PrintcapFormat QueueReportParse ThinPrintParse ThinPrintFormat", bm, " ")
    split("PrintcapBaseline PrintcapBaseline QueueReportBaseline ThinPrintBaseline ThinPrintBaseline", bl, " ")
    for (i = 1; i <= 5; ++i) {
      for (n = 10; n <= 10000; n *= 10) {
        if (n == 100 || !(("BM_" bm[i], n) in store)) continue
        q = store["BM_" bm[i], n]; b = store["BM_" bl[i], n]
        row(bm[i] " " n " (CPU; baseline: line scan)", ms(b), ms(q), sprintf("%.1fx", q / b), "", "")
      }
      big = (("BM_" bm[i], 10000) in store) ? 10000 : 1000
      if (big == 10000) {
        flat = (store["BM_" bm[i], 10000] / 10000) / (store["BM_" bm[i], 1000] / 1000)
        row("  per entry, 10,000 vs 1,000", "", "", sprintf("%.2fx", flat), "<= 1.20x", verdict(flat <= 1.2))
      }
    }
    both = store["BM_PrintcapParse", 10000] + store["BM_PrintcapFormat", 10000]
    row("printcap parse+format, 10,000 entries", "", ms(both), "", "< 20 ms", verdict(both < 20))
    b = r["restart_us", "base"] / 1000; q = r["restart_us", "prog"] / 1000
    row("spooler restart, 10 printers (sh script)", ms(b), ms(q), sprintf("%.2fx", q / b), "<= 1.10x",
        verdict(q / b <= 1.1))
    b = r["jobs_refresh_us", "children"] / 1000; q = r["jobs_refresh_us", "self"] / 1000
    row("Jobs refresh CPU, " r["jobs_refresh_us", "rows"] " jobs (lpq+sh own)", ms(b), ms(q),
        sprintf("%.2fx", q / b), "< 5 ms", verdict(q < 5))
    c = r["jobs_hidden_listings", "count"]
    row("listings while another page shows, " r["jobs_hidden_listings", "seconds"] " s", "", c, "", "0",
        verdict(c == 0))
    b = r["jobs_first_switch_us", "later"] / 1000; q = r["jobs_first_switch_us", "first"] / 1000
    row("first switch to Jobs, " r["jobs_first_switch_us", "printers"] " printers (vs a later one)",
        ms(b), ms(q), sprintf("%.2fx", q / b), "", "")
    # Fleet: CPU-seconds of the whole machine per client, against ansible -m ping.
    nf = split(fleet, size, " ")
    for (i = 1; i <= nf; ++i) {
      k = "fleet." size[i]; p = r[k, "ping_cpu"]; u = r[k, "unchanged_cpu"]; f = r[k, "first_cpu"]
      row("fleet, " size[i] " clients: unchanged apply, CPU/client", sprintf("%.2f s", p), sprintf("%.2f s", u),
          sprintf("%.2fx", u / p), "<= 4x", verdict(u / p <= 4))
      row("  first apply, CPU/client (baseline: ping)", sprintf("%.2f s", p), sprintf("%.2f s", f),
          sprintf("%.2fx", f / p), "<= 8x", verdict(f / p <= 8))
      row("  wall: ping; first / unchanged apply", sprintf("%.1f s", r[k, "ping_wall"]),
          sprintf("%.1f/%.1f s", r[k, "first_wall"], r[k, "unchanged_wall"]), "", "", "")
    }
    if (nf > 1) {
      lo = "fleet." size[1]; hi = "fleet." size[nf]
      flat = r[hi, "unchanged_cpu"] / r[lo, "unchanged_cpu"]
      row("  unchanged CPU/client, " size[nf] " vs " size[1] " clients", "", "", sprintf("%.2fx", flat),
          "0.8-1.2x", verdict(flat >= 0.8 && flat <= 1.2))
      row("  first CPU/client, " size[nf] " vs " size[1] " clients", "", "",
          sprintf("%.2fx", r[hi, "first_cpu"] / r[lo, "first_cpu"]), "", "")
    }
    if (nf > 0) {
      hi = "fleet." size[nf]; n = size[nf]
      row("  at that rate, 1 client: unchanged / first", "", sprintf("%.1f/%.1f s", r[hi, "unchanged_cpu"],
          r[hi, "first_cpu"]), "CPU", "", "")
      row("  at that rate, 300 clients: unchanged / first", "", sprintf("%.0f/%.0f s", 300 * r[hi, "unchanged_cpu"],
          300 * r[hi, "first_cpu"]), "CPU", "", "")
      row("    wall (wall of " n " clients x " 300 / n ")", "", sprintf("%.0f/%.0f s", r[hi, "unchanged_wall"] * 300 / n,
          r[hi, "first_wall"] * 300 / n), "", "", "")
    }
  }
' "$out/store.csv" "$out/results.txt" | tee "$out/table.txt"
