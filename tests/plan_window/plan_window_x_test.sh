#!/usr/bin/env bash
# SPDX-License-Identifier: Apache-2.0
# The Survey Plan window in the real program under a window manager, read
# through the accessibility bus as a screen reader reads it:
#   plan_window_x_test.sh <path to valdris-power>
# One session, two starts of the program. First, from the design window:
# Add Design to Plan (Ctrl+D); a refused cell edit shows the design window's
# message and keeps the old value; undo and redo; Open in Design Window and
# an input there; twenty measurements pasted give the verdict, the picture
# and both powers; Save. Then the plan opened from the command line, with a
# unit of two radionuclides added to its file: every figure and the verdict
# as saved; its pages walked by keys alone with one focused object at each
# step; the field panel's spacing, sum of fractions, grid and scan MDC, a
# refused scan MDC told once the Unit menu opened over it has closed; a
# change then is asked about before the window closes, and Save, the
# question's default, keeps it.
set -euo pipefail

program=${1:?usage: plan_window_x_test.sh <valdris-power>}
root=$(cd "$(dirname "$0")/../.." && pwd)
source "$root/tests/support/x_session.sh"

scratch=$(mktemp -d)
clipboard_pid=
x_fail_hook=x_dump
x_dump() {
  echo "cells: ${cells:-}" >&2; echo "panel: ${panel:-}" >&2
  echo "expected: ${before:-}" >&2; echo "focus: ${focus:-}" >&2
}
export HOME=$scratch XDG_CONFIG_HOME=$scratch/config XDG_STATE_HOME=$scratch/state
plan=$scratch/site.vplan
values="0.42 0.55 0.61 0.38 0.71 0.49 0.83 1.12 0.57 0.66 0.29 0.74 0.91 0.52 1.05 0.47 0.63 0.58 0.36 1.21"

x_session_start 1280x1024x24
stop_clipboard() { [ -z "$clipboard_pid" ] || kill "$clipboard_pid" 2>/dev/null || true; clipboard_pid=; }
trap 'stop_clipboard; x_session_stop; rm -rf "$scratch"' EXIT
x_accessibility_start
x_start_at_design_window "$program"

# The unit's row as a screen reader reads it: twelve cells, name to
# critical value (those the window's width shows whatever the columns'
# widths), from the cell of the unit's name on; the budget table's cells,
# which are table cells too, do not start with it.
unit_row() {
  x_accessible_tree | awk -F'\t' '$1 == "table cell" { if ($2 == "Survey Unit 1") n = 12; if (n-- > 0) print $2 }' |
    paste -sd'|'
}
cells=
cells_read() { cells=$(unit_row); [[ $cells == *"$1"* ]]; }

# What the measurements panel shows: the decision, its reason, the figures,
# the caption of the picture and the values to investigate.
panel=
data_read() {
  panel=$(x_accessible_tree | awk -F'\t' '
    $1 == "label" && $2 ~ /^The survey unit (passes|fails)$/ { print "decision=" $2 }
    $1 == "label" && $2 ~ /^(S\+|W) = / { print "reason=" $2 }
    $1 == "label" && $2 ~ /^Power at the LBGR.*:$/ { label = $2; next_is_value = 1; next }
    $1 == "label" && next_is_value { print label $2; next_is_value = 0 }
    $1 == "table cell" && $2 ~ /^(Survey Unit Measurements|S\+ |Critical Value|p-value)/ {
      label = $2; next_is_value = 1; next }
    $1 == "table cell" && next_is_value { print label "=" $2; next_is_value = 0 }
    $1 == "label" && $2 ~ /survey unit measurements.* against the DCGL/ { print "picture=" $2 }
    $1 == "list item" && $2 ~ /^Measurement [0-9]+: / { print "investigate=" $2 }' | paste -sd'|')
  [[ $panel == *"$1"* ]]
}

# What the field panel shows: its heading, the lines of its figures and each
# table as its name and its cells in reading order, each between bars, so
# that "|Spacing: 10.75|" matches one whole line.
field_read() {
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

# --- From the design window ----------------------------------------------------

x_focus "$x_design_window"
xdotool key --clearmodifiers ctrl+d
x_wait_for "the plan window" x_has_window_named 'Survey Plan - Untitled\*'
x_wait_for "the unit's row" cells_read 'Survey Unit 1|Unity Rule|Sign|0.05|0.05|0.5|1|0.5|1|29||19'
pass "Ctrl+D in the design window adds its design as a unit"

plan_window=$(x_window_named 'Survey Plan - Untitled\*')
# The name cell is current; Right three times reaches alpha.
type_in_alpha() {
  x_focus "$plan_window"
  xdotool key --clearmodifiers Right Right Right
  xdotool type --delay 20 "$1"
  xdotool key --clearmodifiers Return
}
# Left by a click on the table below the row: the editor closes inside the
# move of the focus, and the box must wait until that move is over (the
# program died once the box was answered).
x_focus "$plan_window"
xdotool key --clearmodifiers Right Right Right
xdotool type --delay 20 0.7
x_frame_geometry "$plan_window"
xdotool mousemove $((CLIENT_X + 380)) $((CLIENT_Y + 141)) click 1
x_wait_for "the refusal" x_has_message_box
message_shown() { x_accessible_tree | grep -q 'Alpha should be between 0.0 and 0.5'; }
x_wait_for "the design window's message" message_shown
x_answer_message_box
x_wait_for "the old alpha" cells_read 'Survey Unit 1|Unity Rule|Sign|0.05|0.05|'
x_check_program_log
pass "a refused alpha, left by a click, shows the design window's message and keeps 0.05"

x_focus "$plan_window"
xdotool key --clearmodifiers Home
type_in_alpha 0.1
x_wait_for "the new alpha" cells_read 'Sign|0.1|0.05|'
xdotool key --clearmodifiers ctrl+z
x_wait_for "alpha undone" cells_read 'Sign|0.05|0.05|'
xdotool key --clearmodifiers ctrl+shift+z
x_wait_for "alpha redone" cells_read 'Sign|0.1|0.05|'
pass "Ctrl+Z and Ctrl+Shift+Z undo and redo the edit"

# The unit in the design window, whose title names it; an input taken
# there changes the unit's row.
x_focus "$plan_window"
xdotool key --clearmodifiers alt+u o
x_wait_for "the design window's title" x_has_window_named 'VALDRIS Power 2000 - Survey Unit 1'
x_focus "$x_design_window"
xdotool key --clearmodifiers alt+l ctrl+a
xdotool type --delay 20 0.4
xdotool key --clearmodifiers Tab
x_wait_for "the row to follow the design window" cells_read 'Sign|0.1|0.05|0.5|1|0.4|1.2|'
pass "Open in Design Window names the unit there, and its inputs edit the row"
saved_cells=$cells

# The column as a spreadsheet puts it on the clipboard; xclip serves it
# until it is stopped.
printf '%s\r\n' $values | xclip -selection clipboard -quiet > /dev/null 2>&1 & clipboard_pid=$!
x_focus "$plan_window"
xdotool key --clearmodifiers alt+u s
sleep 0.3
xdotool key --clearmodifiers ctrl+v
x_wait_for "the verdict" data_read 'decision=The survey unit passes'
data_read 'reason=S+ = 17 exceeds the critical value' || fail "the reason: $panel"
data_read 'Survey Unit Measurements=20' || fail "the count: $panel"
data_read 'picture=20 survey unit measurements against the DCGL 1; 3 lie above it.' || fail "the picture: $panel"
data_read 'investigate=Measurement 8: 1.12' || fail "the values to investigate: $panel"
data_read 'Power at the LBGR with this Sigma (N = 20):' || fail "the retrospective power: $panel"
data_read 'Power at the LBGR as Designed:' || fail "the designed power: $panel"
pass "twenty pasted values show the decision, the picture and both powers"
stop_clipboard
saved_panel=$panel

# The picture itself: the DCGL's red line inside the plot's place.
read -r px py pw ph < <(x_accessible_tree > /dev/null; x_controls | awk -F'\t' '$2 == "Measurements against the DCGL" { split($3, e, ","); print e[1], e[2], e[3], e[4] }')
[ -n "${pw:-}" ] || fail "the picture has no place on the screen"
shot=$scratch/plot.png
import -window root -crop "${pw}x${ph}+${px}+${py}" +repage "$shot" 2>/dev/null
reds=$(x_pixels "$shot" | awk '$3 == "FF0000"' | wc -l)
[ "$reds" -gt 20 ] || fail "no DCGL line drawn in the picture ($reds red pixels)"
pass "the picture draws the measurements against the DCGL's line"

# Save Plan asks for a name (Qt's own file dialog here).
x_save_plan_as "$plan_window" "$plan"
[ -s "$plan" ] || fail "no plan file"
grep -q '"alpha": 0.1' "$plan" || fail "the file lacks the edited alpha: $(cat "$plan")"
grep -q '"survey_data"' "$plan" || fail "the file lacks the measurements: $(cat "$plan")"
pass "Ctrl+S saves the plan with its measurements"
x_check_program_log
kill "$x_program_pid"; wait "$x_program_pid" 2>/dev/null || true

# --- The plan opened from the command line ------------------------------------

# A second unit, of two radionuclides, for the field panel, added to the
# saved file as another program would add it.
units() { /usr/bin/python3 -c 'import json, sys; print(len(json.load(open(sys.argv[1]))["units"]))' "$plan"; }
/usr/bin/python3 - "$plan" << 'EOF'
import json, sys
plan = json.load(open(sys.argv[1]))
plan["units"].append({
    "name": "Yard", "radionuclide": "Co-60", "test": "sign", "alpha": 0.05, "beta": 0.05,
    "sigma": 0.5, "dcgl": 1, "lbgr": 0.5, "n": 20, "area": 2000,
    "area_factors": [[1, 10], [10, 3], [100, 1.5], [1000, 1.1]],
    "nuclides": [{"name": "Co-60", "dcgl": 5, "sigma": 0.5, "concentration": 1},
                 {"name": "Cs-137", "dcgl": 10, "sigma": 2, "concentration": 3}]})
json.dump(plan, open(sys.argv[1], "w"), indent=2)
EOF
[ "$(units)" = 2 ] || fail "the unit for the field panel was not added: $(cat "$plan")"

x_start_program --window 'Survey Plan - site.vplan' "$program" "$plan"
plan_window=$(x_window_named 'Survey Plan - site.vplan')
before=$saved_cells
reopened() { cells_read "$before" && [ "$cells" = "$before" ]; }
x_wait_for "the reopened row" reopened
pass "the plan opens from the command line with every figure as saved"

# The unit's pages by keys alone: Ctrl+Tab from the table walks them, and
# Ctrl+Shift+Tab back. With no unit selected the unit's pages keep the
# keyboard on the page tabs, which a screen reader reads by the page shown;
# the budget, the plan's own, takes it on its table. At each step one
# object says it has the focus (with its own current item), none of the
# widgets around it, no page tab of a list without the focus.
focus=
focus_on() {
  focus=$(x_controls focus)
  [ "$focus" = "focused	$1" ]
}
x_focus "$plan_window"
for expected in 'page tab list	Field' 'page tab list	Measurements' 'table	What the budget buys'; do
  xdotool key --clearmodifiers ctrl+Tab
  x_wait_for "the keyboard on '$expected' alone" focus_on "$expected"
done
xdotool key --clearmodifiers ctrl+shift+Tab
x_wait_for "back to the Measurements page" focus_on 'page tab list	Measurements'
pass "Ctrl+Tab and Ctrl+Shift+Tab walk the unit's pages from the table, one focused object at a time"

# A click on the unit's name selects it.
click_on "table cell" "Survey Unit 1"
x_focus "$plan_window"
xdotool key --clearmodifiers alt+u s
before=$saved_panel
reopened_data() { data_read "$before" && [ "$panel" = "$before" ]; }
x_wait_for "the reopened verdict" reopened_data
for v in 0.42 1.21; do
  x_accessible_tree | awk -F'\t' -v v="$v" '$1 == "table cell" && $2 == v { found = 1 } END { exit !found }' ||
    fail "the reopened measurements lack $v"
done
pass "the reopened plan shows the same measurements and the same verdict"

click_on "table cell" Yard
click_on "page tab" Field
x_wait_for "the unit's field panel" field_read "Yard in the field:" "Spacing: 10.75"
field_read "Grid: Triangular" "Area factors: 1 10 10 3 100 1.5 1000 1.1" ||
  fail "the triangular grid or the area factors as opened"
field_read "Give the area factors, the scan MDC and the unit's size for the check." ||
  fail "the elevated-area check before the scan MDC"
pass "the opened unit's 2000 m² and N 20 give a triangular spacing of 10.75"

field_read "Radionuclides: Co-60 5 0.5 1 Cs-137 10 2 3" ||
  fail "the radionuclides' table"
field_read "Sigma (sum of fractions): 0.2236068" "LBGR (sum of fractions): 0.5" "Gross-activity DCGL: 8" ||
  fail "the sum of fractions"
pass "Co-60 and Cs-137 give sigma 0.2236068, LBGR 0.5 and the gross-activity DCGL 8"

# The grid box reached by its label's mnemonic; Down chooses the square grid.
x_focus "$plan_window"
xdotool key --clearmodifiers alt+g
xdotool key --clearmodifiers Down
x_wait_for "the square grid's spacing" field_read "Grid: Square" "Spacing: 10.00"
pass "the square grid chosen in the panel gives a spacing of 10.00"

# The scan MDC typed into its box and taken with Return. On this sum of
# fractions it is read as gross activity: 20 over the gross-activity DCGL 8
# is 2.5 in units of the sum.
xdotool key --clearmodifiers alt+c
xdotool type --delay 20 20
xdotool key --clearmodifiers Return
x_wait_for "the elevated-area check" field_read "Scan MDC adequate: No"
field_read "Area between samples: 100" "Area factor: 1.5" "DCGL_EMC: 1.5" "Scan MDC: 2.5" ||
  fail "the factor at the area between samples"
field_read "Area for the scan MDC: 18.32" "Samples for elevated areas: 110" "Final sample size: 110" ||
  fail "the samples the scan MDC needs"
field_read "Spacing: 4.26" || fail "the spacing for the final sample size"
pass "a scan MDC of 20 (gross activity) typed in the panel is not adequate and raises N to 110"

# A refused text in a box of the panel, taken as the Unit menu opens over it
# by its key: the box waits until the menu is closed (the program died once
# it was answered), and the unit keeps its scan MDC.
xdotool key --clearmodifiers alt+c ctrl+a
xdotool type --delay 20 abc
xdotool key --clearmodifiers alt+u
sleep 0.5
x_no_message_box || fail "a box over the open Unit menu"
xdotool key --clearmodifiers Escape
x_wait_for "the refusal" x_has_message_box
x_answer_message_box
x_wait_for "the kept scan MDC" field_read "Scan MDC: 2.5"
x_no_message_box || fail "the refusal was told twice"
x_check_program_log
pass "a refused scan MDC, left by opening a menu, is told once the menu has closed"

x_focus "$plan_window"
xdotool key --clearmodifiers ctrl+d
x_wait_for "the changed plan's title" x_has_window_named 'Survey Plan - site.vplan\*'
x_focus "$(x_window_named 'Survey Plan - site.vplan\*')"
xdotool key --clearmodifiers alt+f c
x_wait_for "the unsaved-changes question" x_has_message_box
question_shown() { x_accessible_tree | grep -q 'has unsaved changes'; }
x_wait_for "the question's text" question_shown
x_answer_message_box
plan_closed() { ! x_has_window_named 'Survey Plan - site.vplan.*'; }
x_wait_for "the plan window to close" plan_closed
[ "$(units)" = 3 ] || fail "the added unit was not saved: $(cat "$plan")"
pass "closing with a change asks first, and Save keeps the change"
x_check_program_log
x_report
