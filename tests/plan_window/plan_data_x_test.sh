#!/usr/bin/env bash
# SPDX-License-Identifier: Apache-2.0
# The measurements of a unit in the real program under a window manager,
# read through the accessibility bus as a screen reader reads them:
#   plan_data_x_test.sh <path to valdris-power>
# Twenty values pasted from the clipboard give the decision, the picture and
# the power the measurements leave beside the designed one; the plan saved
# and opened again shows the same values and the same verdict.
set -euo pipefail

program=${1:?usage: plan_data_x_test.sh <valdris-power>}
root=$(cd "$(dirname "$0")/../.." && pwd)
source "$root/tests/support/x_session.sh"

scratch=$(mktemp -d)
clipboard_pid=
x_fail_hook=x_dump
x_dump() { echo "panel: ${panel:-}" >&2; echo "expected: ${before:-}" >&2; }
export HOME=$scratch XDG_CONFIG_HOME=$scratch/config XDG_STATE_HOME=$scratch/state
plan=$scratch/site.vplan
values="0.42 0.55 0.61 0.38 0.71 0.49 0.83 1.12 0.57 0.66 0.29 0.74 0.91 0.52 1.05 0.47 0.63 0.58 0.36 1.21"

x_session_start 1280x1024x24
stop_clipboard() { [ -z "$clipboard_pid" ] || kill "$clipboard_pid" 2>/dev/null || true; clipboard_pid=; }
trap 'stop_clipboard; x_session_stop; rm -rf "$scratch"' EXIT
x_accessibility_start
x_start_at_design_window "$program"

# What the measurements panel shows: the decision, its reason, the figures,
# the caption of the picture and the values to investigate.
panel=
panel_read() {
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

x_focus "$x_design_window"
xdotool key --clearmodifiers ctrl+d
x_wait_for "the plan window" x_has_window_named 'Survey Plan - Untitled\*'
plan_window=$(x_window_named 'Survey Plan - Untitled\*')

# The column as a spreadsheet puts it on the clipboard; xclip serves it
# until it is stopped.
printf '%s\r\n' $values | xclip -selection clipboard -quiet > /dev/null 2>&1 & clipboard_pid=$!
x_focus "$plan_window"
xdotool key --clearmodifiers alt+u s
sleep 0.3
xdotool key --clearmodifiers ctrl+v
x_wait_for "the verdict" panel_read 'decision=The survey unit passes'
panel_read 'reason=S+ = 17 exceeds the critical value' || fail "the reason: $panel"
panel_read 'Survey Unit Measurements=20' || fail "the count: $panel"
panel_read 'picture=20 survey unit measurements against the DCGL 1; 3 lie above it.' || fail "the picture: $panel"
panel_read 'investigate=Measurement 8: 1.12' || fail "the values to investigate: $panel"
panel_read 'Power at the LBGR with this Sigma (N = 20):' || fail "the retrospective power: $panel"
panel_read 'Power at the LBGR as Designed:' || fail "the designed power: $panel"
pass "twenty pasted values show the decision, the picture and both powers"
stop_clipboard

# The picture itself: the DCGL's red line inside the plot's place.
read -r px py pw ph < <(x_accessible_tree > /dev/null; x_controls | awk -F'\t' '$2 == "Measurements against the DCGL" { split($3, e, ","); print e[1], e[2], e[3], e[4] }')
[ -n "${pw:-}" ] || fail "the picture has no place on the screen"
shot=$scratch/plot.png
import -window root -crop "${pw}x${ph}+${px}+${py}" +repage "$shot" 2>/dev/null
reds=$(x_pixels "$shot" | awk '$3 == "FF0000"' | wc -l)
[ "$reds" -gt 20 ] || fail "no DCGL line drawn in the picture ($reds red pixels)"
pass "the picture draws the measurements against the DCGL's line"
before=$panel

x_save_plan_as "$plan_window" "$plan"
grep -q '"survey_data"' "$plan" || fail "the file lacks the measurements: $(cat "$plan")"
pass "Ctrl+S saves the plan with its measurements"

kill "$x_program_pid"; wait "$x_program_pid" 2>/dev/null || true
"$program" "$plan" & x_program_pid=$!
x_wait_for "the plan opened from the command line" x_has_window_named 'Survey Plan - site.vplan'
plan_window=$(x_window_named 'Survey Plan - site.vplan')
# A click on the unit's name selects it.
name_cell() { x_controls | awk -F'\t' '$1 == "table cell" && $2 == "Survey Unit 1" { split($3, e, ","); print e[1] + 5, e[2] + e[4] / 2; exit }'; }
x_wait_for "the unit's row" eval '[ -n "$(name_cell)" ]'
x_focus "$plan_window"
xdotool mousemove $(name_cell) click 1
xdotool key --clearmodifiers alt+u s
reopened() { panel_read "$before" && [ "$panel" = "$before" ]; }
x_wait_for "the reopened verdict" reopened
for v in 0.42 1.21; do
  x_accessible_tree | awk -F'\t' -v v="$v" '$1 == "table cell" && $2 == v { found = 1 } END { exit !found }' ||
    fail "the reopened measurements lack $v"
done
pass "the reopened plan shows the same measurements and the same verdict"
x_report
