#!/usr/bin/env bash
# SPDX-License-Identifier: Apache-2.0
# Start-up time: from launching the program (or bench/bare_window) until its window is mapped,
# on a virtual X display. Prints every run and the median; the target is
# under 500 ms. Not a test.
#   startup_bench.sh [path to valdris-power] [runs]
set -euo pipefail

root=$(cd "$(dirname "$0")/.." && pwd)
program=${1:-$root/build/shell/valdris-power}
runs=${2:-11}
[ -x "$program" ] || { echo "no program at $program (build the valdris-power target)" >&2; exit 2; }

if [ -z "${VALDRIS_BENCH_DISPLAY_READY:-}" ]; then
  # -noreset: Xvfb otherwise resets whenever its last client leaves, and a
  # program started during the reset finds no display.
  exec env VALDRIS_BENCH_DISPLAY_READY=1 xvfb-run -a -s "-screen 0 1280x1024x24 -noreset" bash "$0" "$program" "$runs"
fi
export QT_QPA_PLATFORM=xcb

now_ms() { echo $(( $(date +%s%N) / 1000000 )); }

times=()
for ((i = 1; i <= runs; i++)); do
  start=$(now_ms)
  "$program" & pid=$!
  deadline=$((start + 10000))
  until [ -n "$(xdotool search --onlyvisible --pid "$pid" 2>/dev/null | head -1)" ]; do
    [ "$(now_ms)" -lt "$deadline" ] || { kill "$pid"; echo "run $i: no splash within 10 s" >&2; exit 1; }
  done
  elapsed=$(( $(now_ms) - start ))
  kill "$pid"; wait "$pid" 2>/dev/null || true
  times+=("$elapsed")
  echo "run $i: ${elapsed} ms"
done

median=$(printf '%s\n' "${times[@]}" | sort -n | awk '{ v[NR] = $1 } END { print (NR % 2) ? v[(NR + 1) / 2] : (v[NR / 2] + v[NR / 2 + 1]) / 2 }')
echo "median start-up to splash: ${median} ms over $runs runs (target < 500 ms)"
