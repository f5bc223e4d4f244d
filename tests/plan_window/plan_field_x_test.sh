#!/usr/bin/env bash
# SPDX-License-Identifier: Apache-2.0
# The field panel of a unit in the real program under a window manager, read
# through the accessibility bus as a screen reader reads it:
#   plan_field_x_test.sh <path to valdris-power>
# A plan opened from the command line shows the unit's spacing and its sum
# of fractions; the grid chosen and the scan MDC typed in the panel change
# the spacing and give the elevated-area check with its final sample size.
set -euo pipefail

program=${1:?usage: plan_field_x_test.sh <valdris-power>}
root=$(cd "$(dirname "$0")/../.." && pwd)
source "$root/tests/support/x_session.sh"

scratch=$(mktemp -d)
x_fail_hook=x_dump
x_dump() { echo "panel: ${panel:-}" >&2; }
export HOME=$scratch XDG_CONFIG_HOME=$scratch/config XDG_STATE_HOME=$scratch/state
plan=$scratch/site.vplan
cat > "$plan" << 'EOF'
{
  "valdris_power_plan": 1,
  "units": [
    {"name": "Yard", "radionuclide": "Co-60", "test": "sign", "alpha": 0.05, "beta": 0.05,
     "sigma": 0.5, "dcgl": 1, "lbgr": 0.5, "n": 20, "area": 2000,
     "area_factors": [[1, 10], [10, 3], [100, 1.5], [1000, 1.1]],
     "nuclides": [{"name": "Co-60", "dcgl": 5, "sigma": 0.5, "concentration": 1},
                  {"name": "Cs-137", "dcgl": 10, "sigma": 2, "concentration": 3}]}
  ]
}
EOF

x_session_start 1280x1024x24
trap 'x_session_stop; rm -rf "$scratch"' EXIT
x_accessibility_start
x_start_program --window 'Survey Plan - site.vplan' "$program" "$plan"
plan_window=$(x_window_named 'Survey Plan - site.vplan')

# What the panel shows: its heading, the lines of its figures and each table
# as its name and its cells in reading order, each between bars, so that
# "|Spacing: 10.75|" matches one whole line.
panel=
panel_read() {
  panel="|$(x_accessible_tree | awk -F'\t' '
    $1 == "table" { if (t != "") print t; t = $2 ":"; next }
    $1 == "table cell" && t != "" { if ($2 != "") t = t " " $2; next }
    $1 == "table column header" { next }
    t != "" { print t; t = "" }
    $1 == "label" { gsub(/\\n/, "|", $2); print $2 }
    END { if (t != "") print t }' | paste -sd'|')|"
  local line
  for line in "$@"; do [[ $panel == *"|$line|"* ]] || return 1; done
}
# The screen point of a control of that role and name, a little inside its
# left edge (a wide cell's middle may lie beyond the window).
point_of() {
  x_controls | awk -F'\t' -v role="$1" -v name="$2" '
    $1 == role && $2 == name { split($3, e, ","); print e[1] + 8, e[2] + int(e[4] / 2); exit }'
}
has_point() { [ -n "$(point_of "$1" "$2")" ]; }
click_on() {
  x_wait_for "$2" has_point "$1" "$2"
  local x y
  read -r x y < <(point_of "$1" "$2")
  x_focus "$plan_window"
  xdotool mousemove "$x" "$y" click 1
}

click_on "table cell" Yard
click_on "page tab" Field
x_wait_for "the unit's field panel" panel_read "Yard in the field:" "Spacing: 10.75"
panel_read "Grid: Triangular" "Area factors: 1 10 10 3 100 1.5 1000 1.1" ||
  fail "the triangular grid or the area factors as opened"
panel_read "Give the area factors, the scan MDC and the unit's size for the check." ||
  fail "the elevated-area check before the scan MDC"
pass "the opened unit's 2000 m² and N 20 give a triangular spacing of 10.75"

panel_read "Radionuclides: Co-60 5 0.5 1 Cs-137 10 2 3" ||
  fail "the radionuclides' table"
panel_read "Sigma (sum of fractions): 0.2236068" "LBGR (sum of fractions): 0.5" "Gross-activity DCGL: 8" ||
  fail "the sum of fractions"
pass "Co-60 and Cs-137 give sigma 0.2236068, LBGR 0.5 and the gross-activity DCGL 8"

# The grid box reached by its label's mnemonic; Down chooses the square grid.
x_focus "$plan_window"
xdotool key --clearmodifiers alt+g
xdotool key --clearmodifiers Down
x_wait_for "the square grid's spacing" panel_read "Grid: Square" "Spacing: 10.00"
pass "the square grid chosen in the panel gives a spacing of 10.00"

# The scan MDC typed into its box and taken with Return. On this sum of
# fractions it is read as gross activity: 20 over the gross-activity DCGL 8
# is 2.5 in units of the sum.
xdotool key --clearmodifiers alt+c
xdotool type --delay 20 20
xdotool key --clearmodifiers Return
x_wait_for "the elevated-area check" panel_read "Scan MDC adequate: No"
panel_read "Area between samples: 100" "Area factor: 1.5" "DCGL_EMC: 1.5" "Scan MDC: 2.5" ||
  fail "the factor at the area between samples"
panel_read "Area for the scan MDC: 18.32" "Samples for elevated areas: 110" "Final sample size: 110" ||
  fail "the samples the scan MDC needs"
panel_read "Spacing: 4.26" || fail "the spacing for the final sample size"
pass "a scan MDC of 20 (gross activity) typed in the panel is not adequate and raises N to 110"
x_check_program_log
x_report
