#!/usr/bin/env bash
# SPDX-License-Identifier: Apache-2.0
# The Survey Plan window in the real program under a window manager, read
# through the accessibility bus as a screen reader reads it:
#   plan_window_x_test.sh <path to valdris-power>
# Add Design to Plan (Ctrl+D); a refused cell edit shows the design window's
# message and keeps the old value; undo and redo; Open in Design Window and
# an input there; Save; the plan opened from the command line shows every
# figure as it was; its pages walked by keys alone; a change then is asked
# about before the window closes, and Save, the question's default, keeps it.
set -euo pipefail

program=${1:?usage: plan_window_x_test.sh <valdris-power>}
root=$(cd "$(dirname "$0")/../.." && pwd)
source "$root/tests/support/x_session.sh"

scratch=$(mktemp -d)
x_fail_hook=x_dump
x_dump() { echo "cells: $cells" >&2; echo "expected: ${before:-}" >&2; echo "focus: ${focus:-}" >&2; }
export HOME=$scratch XDG_CONFIG_HOME=$scratch/config XDG_STATE_HOME=$scratch/state
plan=$scratch/site.vplan

x_session_start 1280x1024x24
trap 'x_session_stop; rm -rf "$scratch"' EXIT
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
type_in_alpha 0.7
x_wait_for "the refusal" x_has_message_box
message_shown() { x_accessible_tree | grep -q 'Alpha should be between 0.0 and 0.5'; }
x_wait_for "the design window's message" message_shown
x_answer_message_box
x_wait_for "the old alpha" cells_read 'Survey Unit 1|Unity Rule|Sign|0.05|0.05|'
pass "a refused alpha shows the design window's message and keeps 0.05"

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
before=$cells

# Save Plan asks for a name (Qt's own file dialog here).
x_save_plan_as "$plan_window" "$plan"
[ -s "$plan" ] || fail "no plan file"
grep -q '"alpha": 0.1' "$plan" || fail "the file lacks the edited alpha: $(cat "$plan")"
pass "Ctrl+S saves the plan"

kill "$x_program_pid"; wait "$x_program_pid" 2>/dev/null || true
x_start_program --window 'Survey Plan - site.vplan' "$program" "$plan"
reopened() { cells_read "$before" && [ "$cells" = "$before" ]; }
x_wait_for "the reopened row" reopened
pass "the plan opens from the command line with every figure as saved"

# The unit's pages by keys alone: Ctrl+Tab from the table walks them, and
# Ctrl+Shift+Tab back. With no unit selected the unit's pages keep the
# keyboard on the page tabs, which a screen reader reads by the page shown;
# the budget, the plan's own, takes it on its table.
focus=
focus_on() {
  focus=$(x_controls focus)
  grep -qx "focused	$1" <<< "$focus"
}
x_focus "$(x_window_named 'Survey Plan - site.vplan')"
for expected in 'page tab list	Field' 'page tab list	Measurements' 'table	What the budget buys'; do
  xdotool key --clearmodifiers ctrl+Tab
  x_wait_for "the keyboard on '$expected'" focus_on "$expected"
done
xdotool key --clearmodifiers ctrl+shift+Tab
x_wait_for "back to the Measurements page" focus_on 'page tab list	Measurements'
pass "Ctrl+Tab and Ctrl+Shift+Tab walk the unit's pages from the table"

plan_window=$(x_window_named 'Survey Plan - site.vplan')
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
[ "$(grep -c '"name"' "$plan")" = 2 ] || fail "the added unit was not saved: $(cat "$plan")"
pass "closing with a change asks first, and Save keeps the change"
x_report
