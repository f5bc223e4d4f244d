#!/usr/bin/env bash
# SPDX-License-Identifier: Apache-2.0
# A site's plan read and reported by the companion (--plan, CSV and JSON to
# /dev/null) at 10^4 and 10^5 units, against its anchor: sweeps of as many
# designs (half Sign, half WRS, as the plan's units are) in the same form. CPU time (user +
# system) and peak resident memory of each whole process, medians of the
# given runs; the plan file's size beside its memory. Prints every figure;
# not a test.
#   plan_cli_bench.sh [path to valdris-power-cli] [runs]
set -euo pipefail

root=$(cd "$(dirname "$0")/.." && pwd)
cli=${1:-$root/build/cli/valdris-power-cli}
runs=${2:-5}
[ -x "$cli" ] || { echo "no program at $cli (build the valdris-power-cli target)" >&2; exit 2; }
[ -x /usr/bin/time ] || { echo "needs GNU time (Debian package time)" >&2; exit 2; }
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT

median() { sort -n | awk '{ v[NR] = $1 } END { print (NR % 2) ? v[(NR + 1) / 2] : (v[NR / 2] + v[NR / 2 + 1]) / 2 }'; }
# "CPU seconds, peak KiB" of one run: the CPU time from the shell's own
# timing, to the millisecond (GNU time gives hundredths, too coarse for the
# smaller plan's sweeps; its own share, about a millisecond, is counted), the
# peak from GNU time.
measure() {
  local peak cpu TIMEFORMAT='%3U %3S'
  peak=$(mktemp)
  cpu=$( { time /usr/bin/time -o "$peak" -f '%M' "$@" >/dev/null 2>&1; } 2>&1 | awk '{ printf "%.3f", $1 + $2 }')
  echo "$cpu $(cat "$peak")"
  rm -f "$peak"
}

# Units of both tests in turn, sigma and LBGR varied, a tenth with a given N.
write_plan() {
  awk -v units="$1" 'BEGIN {
    printf "{\"valdris_power_plan\": 1, \"units\": [\n"
    for (i = 0; i < units; i++) {
      printf "  {\"name\": \"Unit %d\", \"radionuclide\": \"\", \"test\": \"%s\", \"alpha\": 0.05, \"beta\": 0.05, ", \
        i + 1, (i % 2 == 0) ? "sign" : "wrs"
      printf "\"sigma\": %.3f, \"dcgl\": 1, \"lbgr\": %.4f, ", 0.2 + 0.001 * (i % 300), 0.3 + 0.0005 * (i % 400)
      if (i % 10 == 0) printf "\"n\": %d, ", 15 + i % 40
      printf "\"cost_fixed\": 1000, \"cost_per_sample\": 200}%s\n", (i < units - 1) ? "," : ""
    }
    printf "]}\n"
  }' > "$2"
}

# Each output form against sweeps written in the same form: the plan's CSV
# table has a row per unit as a sweep has per design; its JSON also carries
# each unit's power curve, which a sweep row does not.
for units in 10000 100000; do
  plan="$work/site-$units.vplan"
  write_plan "$units" "$plan"
  half=$((units / 2))
  # sigma from 0.2 in steps of 10^-6: exactly $half rows each.
  to=$(echo "scale=7; 0.2 + ($half - 1) / 1000000" | bc)
  for form in --csv --json; do
    plan_cpu=() plan_kib=() sweep_cpu=() sweep_kib=()
    for ((i = 0; i < runs; i++)); do
      read -r cpu kib < <(measure "$cli" "$form" --plan "$plan")
      plan_cpu+=("$cpu") plan_kib+=("$kib")
      read -r sign sign_kib < <(measure "$cli" "$form" --test sign --sweep sigma 0.2 "$to" 0.000001)
      read -r wrs wrs_kib < <(measure "$cli" "$form" --test wrs --sweep sigma 0.2 "$to" 0.000001)
      sweep_cpu+=("$(echo "$sign + $wrs" | bc -l)") sweep_kib+=("$(( sign_kib > wrs_kib ? sign_kib : wrs_kib ))")
    done
    p=$(printf '%s\n' "${plan_cpu[@]}" | median) s=$(printf '%s\n' "${sweep_cpu[@]}" | median)
    pk=$(printf '%s\n' "${plan_kib[@]}" | median) sk=$(printf '%s\n' "${sweep_kib[@]}" | median)
    printf '%d units, %s: --plan %.3f s CPU, peak RSS %.1f MiB (file %.1f MiB); sweeps %.3f s, %.1f MiB; ratio %.2fx\n' \
      "$units" "$form" "$p" "$(echo "$pk / 1024" | bc -l)" "$(echo "$(stat -c %s "$plan") / 1048576" | bc -l)" \
      "$s" "$(echo "$sk / 1024" | bc -l)" "$(echo "$p / $s" | bc -l)"
  done
done
