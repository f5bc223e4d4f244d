#!/usr/bin/env bash
# SPDX-License-Identifier: Apache-2.0
# The folders are floors, each using only the floors before it:
#   files, stats -> design -> field -> assessment -> geo -> plan -> chart -> ui
#   -> design_window, plan_window -> shell;  cli beside the windows, on
#   nothing of them (its drawing module uses chart/), and nothing uses cli.
# Checks, in one pass over the includes, that the Qt-free floors include no
# Qt and that no folder includes a header of a floor after its own (or of a
# folder beside it on the same floor).
#   layering_test.sh <source root>
set -euo pipefail
root=${1:?usage: layering_test.sh <source root>}
cd "$root"

# folder floor: a folder may include from a lower floor or from itself.
floors="files 0
stats 0
design 1
field 2
assessment 2.5
geo 2.7
plan 3
chart 4
ui 5
design_window 6
plan_window 6
shell 7
cli 4.5"
qt_free="files stats design field assessment geo plan"
folders=$(echo "$floors" | cut -d' ' -f1)

# Every header of the program's folders, with the folder that holds it.
headers=$(for d in $folders; do for h in "$d"/*.h; do [ -e "$h" ] && echo "${h#*/} $d"; done; done)
# Every include line of the program's folders, once.
includes=$(grep -rn --include='*.cpp' --include='*.h' -E '^#include [<"]' $folders || true)

echo "$includes" | awk -v floors="$floors" -v headers="$headers" -v qtfree="$qt_free" '
BEGIN {
  n = split(floors, f, "\n"); for (i = 1; i <= n; i++) { split(f[i], p, " "); floor[p[1]] = p[2] }
  n = split(headers, h, "\n"); for (i = 1; i <= n; i++) { split(h[i], p, " "); home[p[1]] = p[2] }
  n = split(qtfree, q, " "); for (i = 1; i <= n; i++) noqt[q[i]] = 1
}
$0 != "" {
  split($0, loc, ":"); from = loc[1]; sub(/\/.*/, "", from)
  line = $0; sub(/^[^:]*:[^:]*:/, "", line)
  if (from in noqt && line ~ /#include <(Q|qt)/) { print "FAIL: Qt in a Qt-free folder: " $0; bad++ ; next }
  if (match(line, /"[^"]+"/) == 0) next
  name = substr(line, RSTART + 1, RLENGTH - 2)
  if (!(name in home)) next
  to = home[name]
  if (to != from && (to == "cli" || floor[to] >= floor[from])) { print "FAIL: " from " includes " to "/" name ": " $0; bad++ }
}
END { if (bad) { print "0 passed, " bad " failed"; exit 1 } print "1 passed, 0 failed" }'
