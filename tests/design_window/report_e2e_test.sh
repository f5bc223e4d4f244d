#!/usr/bin/env bash
# SPDX-License-Identifier: Apache-2.0
# The design leaves the window, in the real program under a window manager:
#   report_e2e_test.sh <path to valdris-power>
# File, Save Report (by its access keys) -> the save dialog suggests the
# radionuclide and the date -> the PDF holds the window's figures; Edit, Copy
# Results -> the clipboard holds the table and the chart image; File, Save
# Chart As -> an SVG with the axis titles; File, Print -> the preview and the
# print dialog; a symbolic link as the report's name -> one message, nothing
# written through it.
set -euo pipefail

program=${1:?usage: report_e2e_test.sh <valdris-power>}
root=$(cd "$(dirname "$0")/../.." && pwd)
source "$root/tests/support/x_session.sh"

x_session_start 1280x1024x24
work=$(mktemp -d)
trap 'x_session_stop; rm -rf "$work"' EXIT
# VALDRIS_X_SHOT=file.png keeps a screenshot of a failure.
shoot_failure() { [ -z "${VALDRIS_X_SHOT:-}" ] || x_screenshot "$VALDRIS_X_SHOT"; }
x_fail_hook=shoot_failure
# Dialogs start in the documents folder: keep it inside the test's own.
export HOME="$work" XDG_DOCUMENTS_DIR="$work"

x_start_at_design_window "$program"
design=$x_design_window
x_focus "$design"

# Opens a menu item with the access keys and waits for the window it opens.
choose() {
  local menu=$1 item=$2 title=$3
  x_focus "$design"
  xdotool key "alt+$menu"
  sleep 0.3
  xdotool key "$item"
  x_wait_for "the window \"$title\"" x_has_window_named "$title"
}

# Types a full path into the save dialog's file name box and saves.
save_as() {
  local title=$1 path=$2 dialog
  dialog=$(x_window_named "$title")
  x_focus "$dialog"
  xdotool key ctrl+a
  xdotool type --delay 5 "$path"
  xdotool key Return
  gone() { ! x_has_window_named "$title"; }
  x_wait_for "the dialog \"$title\" to close" gone
}

# 1. Save Report: the suggested name, then the PDF with the window's figures.
choose f r "Save Report"
x_focus "$(x_window_named "Save Report")"
printf 'stale' | xclip -selection clipboard
xdotool key ctrl+a ctrl+c
suggested_is() { [ "$(xclip -o -selection clipboard 2>/dev/null)" = "Unity Rule $(date +%F) design report.pdf" ]; }
x_wait_for "the suggested name (got '$(xclip -o -selection clipboard 2>/dev/null)')" suggested_is
pass "the save dialog suggests the radionuclide and the date"
save_as "Save Report" "$work/plan.pdf"
x_wait_for "the report file" test -s "$work/plan.pdf"
text=$(pdftotext -layout "$work/plan.pdf" -)
for row in "Sigma +0\.5" "Survey Unit Sample Size +29" "Critical Value +19" "Alpha +0\.05"; do
  grep -Eq "$row" <<< "$text" || fail "the report lacks '$row': $text"
done
pass "Save Report writes the window's figures"

# 2. Copy Results: the table as text and the chart as an image.
choose e c "VALDRIS Power 2000"
copied_has_table() { xclip -o -selection clipboard 2>/dev/null | grep -q "^Critical Value	19$"; }
x_wait_for "the copied table" copied_has_table
xclip -o -selection clipboard -t TARGETS | grep -q "image/png" || fail "no image on the clipboard"
pass "Copy Results puts the table and the chart on the clipboard"

# 3. Save Chart As: an SVG chosen by its name, with both axis titles.
choose f c "Save Chart As"
save_as "Save Chart As" "$work/curve.svg"
x_wait_for "the chart file" test -s "$work/curve.svg"
grep -q "Probability that the Survey Unit Passes" "$work/curve.svg" || fail "the chart lacks its y title"
grep -q "True Survey Unit Concentration (percent of DCGL)" "$work/curve.svg" || fail "the chart lacks its x title"
pass "Save Chart As writes the chart with its titles"

# 4. Print: the preview of the page; its Print button opens the print
#    dialog. Both close with Escape.
choose f p "Print Report"
preview=$(x_window_named "Print Report")
x_focus "$preview"
x_frame_geometry "$preview"
xdotool mousemove $((CLIENT_X + CLIENT_W - 20)) $((CLIENT_Y + 20)) click 1
print_dialog() { x_has_window_named "Print"; }
x_wait_for "the print dialog" print_dialog
x_focus "$(x_window_named "Print")"
xdotool key Escape
preview_gone() { ! x_has_window_named "Print Report"; }
print_dialog_gone() { ! print_dialog; }
x_wait_for "the print dialog to close" print_dialog_gone
x_focus "$preview"
xdotool key Escape
x_wait_for "the preview to close" preview_gone
pass "Print shows the preview and the print dialog"

# 5. A link as the report's name: refused with one message, the link's
#    target untouched.
ln -s "$work/elsewhere.pdf" "$work/link.pdf"
choose f r "Save Report"
save_as "Save Report" "$work/link.pdf"
x_wait_for "the failure message" x_has_message_box
[ "$(x_message_boxes)" = 1 ] || fail "more than one message box"
x_answer_message_box
[ ! -e "$work/elsewhere.pdf" ] || fail "the report was written through the link"
pass "a link as the report's name is refused"

kill -0 "$x_program_pid" || fail "the program has ended"
x_report
