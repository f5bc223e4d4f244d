#!/usr/bin/env bash
# SPDX-License-Identifier: Apache-2.0
# The command-line companion as a script sees it: whole-process wall time and
# peak resident memory of one --json design, then sweeps of 10^4, 10^5 and
# 10^6 rows (rows per second, peak memory). Prints every figure; not a test.
#   cli_bench.sh [path to valdris-power-cli] [runs of --json] [largest sweep exponent]
set -euo pipefail

root=$(cd "$(dirname "$0")/.." && pwd)
cli=${1:-$root/build/cli/valdris-power-cli}
runs=${2:-51}
largest=${3:-6}
[ -x "$cli" ] || { echo "no program at $cli (build the valdris-power-cli target)" >&2; exit 2; }
[ -x /usr/bin/time ] || { echo "needs GNU time (Debian package time)" >&2; exit 2; }

# Bash's own clock: no process of its own to start, so nothing added to a run.
now_ns() { local t=${EPOCHREALTIME/./}; echo $((10#$t * 1000)); }
median() { sort -n | awk '{ v[NR] = $1 } END { print (NR % 2) ? v[(NR + 1) / 2] : (v[NR / 2] + v[NR / 2 + 1]) / 2 }'; }

# Peak resident set of one run in KiB, as the kernel reports it at exit.
peak_kib() { /usr/bin/time -f '%M' "$@" 2>&1 >/dev/null | tail -1; }

echo "== one design, --json ($runs runs)"
"$cli" --json > /dev/null  # warm the page cache
times=()
for ((i = 0; i < runs; i++)); do
  start=$(now_ns)
  "$cli" --json > /dev/null
  times+=($(( ($(now_ns) - start) / 1000 )))
done
wall_us=$(printf '%s\n' "${times[@]}" | median)
rss=$(peak_kib "$cli" --json)
libraries=$(LD_DEBUG=libs "$cli" --json 2>&1 >/dev/null | grep -c 'calling init:' || true)
printf 'median wall %.1f ms, peak RSS %.1f MiB, %d shared objects initialised\n' \
  "$(echo "$wall_us / 1000" | bc -l)" "$(echo "$rss / 1024" | bc -l)" "$libraries"

echo "== sweeps, --json to /dev/null"
for ((e = 4; e <= largest; e++)); do
  rows=$((10 ** e))
  # sigma from 0.1 in steps of 10^-6: exactly $rows rows.
  to=$(echo "scale=7; 0.1 + ($rows - 1) / 1000000" | bc)
  start=$(now_ns)
  rss=$(peak_kib "$cli" --json --sweep sigma 0.1 "$to" 0.000001)
  ns=$(( $(now_ns) - start ))
  printf '10^%d rows: %.2f s, %.0f rows/s, peak RSS %.1f MiB\n' "$e" \
    "$(echo "$ns / 1000000000" | bc -l)" "$(echo "$rows * 1000000000 / $ns" | bc -l)" "$(echo "$rss / 1024" | bc -l)"
done
