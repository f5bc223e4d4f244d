#!/usr/bin/env bash
# SPDX-License-Identifier: Apache-2.0
# What assistive technology and a keyboard user get of the real program's
# design window, read over AT-SPI:
#   accessibility_x_test.sh <path to valdris-power>
# - every input has a role and a name; alpha and beta are named "Alpha" and
#   "Beta", not by their values;
# - every result is exposed with its value, and reached and copied from the
#   keyboard by its own key without entering the inputs' Tab order.
set -euo pipefail

program=${1:?usage: accessibility_x_test.sh <valdris-power>}
root=$(cd "$(dirname "$0")/../.." && pwd)
source "$root/tests/support/x_session.sh"

x_session_start 1280x1024x24
x_accessibility_start
x_start_at_design_window "$program"
design=$x_design_window

tree=
design_tree_read() { tree=$(x_accessible_tree) && grep -q $'^text\tDCGL\t1$' <<< "$tree"; }
x_wait_for "the design window on the accessibility bus" design_tree_read

# Inputs: role and name.
inputs=$(grep -E $'^(text|combo box|radio button|scroll bar|push button|spin button)\t' <<< "$tree")
unnamed=$(awk -F'\t' '$2 == ""' <<< "$inputs" | grep -v $'^text\t\t0.05$' || true)  # a list's own edit field
[ -z "$unnamed" ] || fail "inputs without a name: $unnamed"
for name in Radionuclide: DCGL Sigma LBGR; do
  grep -q $'^text\t'"$name"$'\t' <<< "$inputs" || fail "no text field named $name"
done
for name in Alpha Beta; do
  grep -q $'^combo box\t'"$name"$'\t' <<< "$inputs" || fail "the $name list is not named $name: $(grep '^combo box' <<< "$inputs")"
done
grep -q $'^scroll bar\tLBGR\t500' <<< "$inputs" || fail "the LBGR bar is not exposed with its position"
pass "every input has a role and a name; the lists are Alpha and Beta"

# Results: with their values.
grep -q $'^text\tSurvey Unit:\t29$' <<< "$tree" || fail "the sample size is not exposed"
grep -q $'^label\tCritical Value:\\\\n 19\t$' <<< "$tree" || fail "the critical value is not exposed"
grep -q $'^label\tΔ/σ = 1\t$' <<< "$tree" || fail "D/s is not exposed"
pass "sample size, critical value and D/s are exposed with their values"

# The keyboard: each result by its own key, selected and copied.
clipboard_is() { [ "$(xclip -o -selection clipboard 2>/dev/null || true)" = "$1" ]; }
copied_after() {
  local keys=$1 expected=$2
  x_focus "$design"
  printf 'stale' | xclip -selection clipboard
  xdotool key --clearmodifiers $keys ctrl+a ctrl+c
  x_wait_for "$keys to copy '$expected' (clipboard: '$(xclip -o -selection clipboard 2>/dev/null)')" clipboard_is "$expected"
}
copied_after alt+u 29
copied_after alt+c $'Critical Value:\n 19'
copied_after alt+t 'Δ/σ = 1'
pass "Alt+U, Alt+C and Alt+T reach the results, which select and copy"

# The inputs' order is untouched: Tab from the radionuclide goes to the DCGL.
copied_after "alt+d shift+Tab Tab" 1
pass "Tab still goes from the radionuclide to the DCGL"
x_report
