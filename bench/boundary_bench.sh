#!/usr/bin/env bash
# SPDX-License-Identifier: Apache-2.0
# The companion's start-up with and without a boundary: a plain --json design
# must not load the geometry module (GDAL and what it brings), and one with
# --boundary pays for it once. Median wall time, peak resident memory and the
# shared objects initialised of each. Prints every figure; not a test.
#   boundary_bench.sh [path to valdris-power-cli] [runs]
set -euo pipefail

root=$(cd "$(dirname "$0")/.." && pwd)
cli=${1:-$root/build/cli/valdris-power-cli}
runs=${2:-21}
[ -x "$cli" ] || { echo "no program at $cli (build the valdris-power-cli target)" >&2; exit 2; }
[ -x /usr/bin/time ] || { echo "needs GNU time (Debian package time)" >&2; exit 2; }

scratch=$(mktemp -d)
trap 'rm -rf "$scratch"' EXIT
cat > "$scratch/site.geojson" <<'GEOJSON'
{"type": "FeatureCollection", "features": [{"type": "Feature", "properties": {"name": "North"},
 "geometry": {"type": "Polygon", "coordinates": [[[15.0, 45.0], [15.002, 45.0], [15.002, 45.001], [15.0, 45.001], [15.0, 45.0]]]}}]}
GEOJSON

now_ns() { local t=${EPOCHREALTIME/./}; echo $((10#$t * 1000)); }
median() { sort -n | awk '{ v[NR] = $1 } END { print (NR % 2) ? v[(NR + 1) / 2] : (v[NR / 2] + v[NR / 2 + 1]) / 2 }'; }

measure() {
  local label=$1; shift
  "$cli" "$@" > /dev/null  # warm the page cache
  local times=()
  for ((i = 0; i < runs; i++)); do
    local start; start=$(now_ns)
    "$cli" "$@" > /dev/null
    times+=($(( ($(now_ns) - start) / 1000 )))
  done
  local wall_us rss libraries gdal
  wall_us=$(printf '%s\n' "${times[@]}" | median)
  rss=$(/usr/bin/time -f '%M' "$cli" "$@" 2>&1 >/dev/null | tail -1)
  libraries=$(LD_DEBUG=libs "$cli" "$@" 2>&1 >/dev/null | grep -c 'calling init:' || true)
  gdal=$(LD_DEBUG=libs "$cli" "$@" 2>&1 >/dev/null | grep -c 'calling init:.*libgdal' || true)
  printf '%-22s median wall %6.1f ms, peak RSS %6.1f MiB, %3d shared objects (GDAL: %s)\n' "$label" \
    "$(echo "$wall_us / 1000" | bc -l)" "$(echo "$rss / 1024" | bc -l)" "$libraries" \
    "$([ "$gdal" -gt 0 ] && echo loaded || echo not loaded)"
}

measure "--json" --json
measure "--json --boundary" --json --boundary "$scratch/site.geojson" --seed 1
