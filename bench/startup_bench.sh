#!/usr/bin/env bash
# SPDX-License-Identifier: Apache-2.0
# Start-up time: from launching the program (or bench/bare_window) until its
# window is mapped, on a virtual X display, as wall time and as the CPU time
# the process (all its threads) had used by then. With several programs the
# runs take turns, so that a busy machine weighs on each alike. Prints every
# run and each program's medians; the target is under 500 ms. Not a test.
#   startup_bench.sh [path to valdris-power] [runs] [more programs...]
set -euo pipefail

root=$(cd "$(dirname "$0")/.." && pwd)
program=${1:-$root/build/shell/valdris-power}
runs=${2:-11}
programs=("$program" "${@:3}")
for p in "${programs[@]}"; do
  [ -x "$p" ] || { echo "no program at $p (build the valdris-power target)" >&2; exit 2; }
done

if [ -z "${VALDRIS_BENCH_DISPLAY_READY:-}" ]; then
  # -noreset: Xvfb otherwise resets whenever its last client leaves, and a
  # program started during the reset finds no display.
  exec env VALDRIS_BENCH_DISPLAY_READY=1 xvfb-run -a -s "-screen 0 1280x1024x24 -noreset" \
    bash "$0" "$program" "$runs" "${@:3}"
fi
export QT_QPA_PLATFORM=xcb

now_ms() { echo $(( $(date +%s%N) / 1000000 )); }
# CPU time in microseconds of every thread of a process, from the
# scheduler's nanosecond counts.
cpu_us() { cat /proc/"$1"/task/*/schedstat 2>/dev/null | awk '{ ns += $1 } END { printf "%d", ns / 1000 }'; }
median() { sort -n | awk '{ v[NR] = $1 } END { print (NR % 2) ? v[(NR + 1) / 2] : (v[NR / 2] + v[NR / 2 + 1]) / 2 }'; }

declare -A times cpus
for ((i = 1; i <= runs; i++)); do
  for p in "${programs[@]}"; do
    start=$(now_ms)
    "$p" & pid=$!
    deadline=$((start + 10000))
    until [ -n "$(xdotool search --onlyvisible --pid "$pid" 2>/dev/null | head -1)" ]; do
      [ "$(now_ms)" -lt "$deadline" ] || { kill "$pid"; echo "run $i: no window within 10 s" >&2; exit 1; }
    done
    elapsed=$(( $(now_ms) - start ))
    cpu=$(cpu_us "$pid")
    kill "$pid"; wait "$pid" 2>/dev/null || true
    times[$p]="${times[$p]:-} $elapsed"
    cpus[$p]="${cpus[$p]:-} $cpu"
    echo "run $i, $p: ${elapsed} ms, CPU $((cpu / 1000)).$(printf '%03d' $((cpu % 1000))) ms"
  done
done

for p in "${programs[@]}"; do
  median_ms=$(printf '%s\n' ${times[$p]} | median)
  median_cpu=$(printf '%s\n' ${cpus[$p]} | median)
  cpu_ms=$(awk -v us="$median_cpu" 'BEGIN { printf "%.1f", us / 1000 }')
  echo "median start-up to window, $p: ${median_ms} ms wall, ${cpu_ms} ms CPU over $runs runs (target < 500 ms)"
done
