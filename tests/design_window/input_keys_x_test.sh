#!/usr/bin/env bash
# SPDX-License-Identifier: Apache-2.0
# Keys and the wheel on the real program's inputs, under openbox:
#   input_keys_x_test.sh <path to valdris-power>
# - Return in the alpha box checks nothing, even on a text that reads like a
#   list item; leaving the box does;
# - the wheel over a list without the focus changes nothing, with the focus
#   it chooses;
# - PageUp/PageDown and the wheel move the LBGR bar's thumb the way the arrow
#   keys do (towards the user / down = right);
# - a DCGL beyond the typable limits the refusal names is refused, the limits
#   themselves are taken.
set -euo pipefail

program=${1:?usage: input_keys_x_test.sh <valdris-power>}
root=$(cd "$(dirname "$0")/../.." && pwd)
source "$root/tests/support/x_session.sh"

x_session_start 1280x1024x24
# On failure, with VALDRIS_X_SHOTS set: the screen as it was.
fail_shot() { [ -n "${VALDRIS_X_SHOTS:-}" ] && x_screenshot "$VALDRIS_X_SHOTS/input-keys-failure.png"; }
x_fail_hook=fail_shot
x_start_at_design_window "$program"
design=$x_design_window
x_focus "$design"
# The pointer out of the way of tooltips.
xdotool mousemove 1279 1023

clipboard_is() { [ "$(xclip -o -selection clipboard 2>/dev/null || true)" = "$1" ]; }
# The focused box's whole text, through the clipboard.
focused_text_is() {
  printf 'stale' | xclip -selection clipboard
  xdotool key --clearmodifiers ctrl+a ctrl+c
  x_wait_for "the focused text to read '$1' (clipboard: '$(xclip -o -selection clipboard 2>/dev/null)')" clipboard_is "$1"
}
retype() { xdotool key --clearmodifiers ctrl+a; xdotool type --delay 20 "$1"; }

# The chart and the results below the inputs, as pixels: they change exactly
# when the design is recalculated with other inputs.
results_picture() { import -window "$design" -crop 520x300+10+180 +repage "$1" 2>/dev/null; }
same_picture() { [ "$(compare -metric AE "$1" "$2" null: 2>&1 || true)" = 0 ]; }
settle() { sleep 0.6; }
# Polls until the results differ from a picture taken before.
results_differ_from() { results_picture "$shots/now.png"; ! same_picture "$1" "$shots/now.png"; }

no_box_yet() { settle; [ "$(x_message_boxes)" = 0 ]; }
shots=$(mktemp -d)
trap 'rm -rf "$shots"; x_session_stop' EXIT

# --- Return in the alpha box -------------------------------------------------
results_picture "$shots/defaults.png"
xdotool key alt+a
retype 0.25
xdotool key Return
no_box_yet || fail "Return on 0.25 showed a message"
results_picture "$shots/after-return.png"
same_picture "$shots/defaults.png" "$shots/after-return.png" || fail "Return on a typed 0.25 recalculated"
xdotool key Tab
x_wait_for "leaving the box with 0.25 to recalculate" results_differ_from "$shots/defaults.png"
pass "alpha 0.25: Return checks nothing, leaving the box takes it"

xdotool key alt+a
retype 0.6
xdotool key Return
no_box_yet || fail "Return on 0.6 showed a message"
xdotool key Tab
x_wait_for "the alpha range message" x_has_message_box
x_answer_message_box
xdotool key alt+a
focused_text_is 0.25
pass "alpha 0.6: Return checks nothing, leaving the box refuses it"

# --- The wheel over the lists ------------------------------------------------
# Alpha's box lies left in the decision errors frame, whose place the
# window's layout table gives; the client area starts below the menu bar.
layout=$root/tests/design_window/layout_golden.tsv
decision_errors=$(x_layout_place "$layout" FrmDecisionErrors)
read -r frame_x frame_y _ <<< "$decision_errors"
x_frame_geometry "$design"
alpha_x=$((CLIENT_X + frame_x + 31)); alpha_y=$((CLIENT_Y + 22 + frame_y + 48))
xdotool key alt+d
results_picture "$shots/before-wheel.png"
xdotool mousemove "$alpha_x" "$alpha_y" click 5 click 5 mousemove 1279 1023
no_box_yet || fail "the wheel over alpha showed a message"
results_picture "$shots/after-wheel.png"
same_picture "$shots/before-wheel.png" "$shots/after-wheel.png" || fail "the wheel over alpha without the focus changed the design"
pass "the wheel over alpha without the focus changes nothing"

xdotool key alt+a
xdotool mousemove "$alpha_x" "$alpha_y" click 4 mousemove 1279 1023
x_wait_for "the wheel over alpha with the focus to choose" results_differ_from "$shots/before-wheel.png"
printf 'stale' | xclip -selection clipboard
xdotool key --clearmodifiers ctrl+a ctrl+c
settle
chosen=$(xclip -o -selection clipboard)
[[ "$chosen" =~ ^0\.(01|025|05|10|25|50)$ ]] && [ "$chosen" != 0.25 ] ||
  fail "the wheel over alpha with the focus left '$chosen' in the box"
pass "the wheel over alpha with the focus chooses an item"

# --- The LBGR bar: keys and wheel --------------------------------------------
# From the LBGR box, Tab reaches the bar; Shift+Tab returns to read the text.
lbgr_after() {
  local keys=$1 expected=$2
  xdotool key alt+l Tab
  xdotool key $keys
  settle
  xdotool key shift+Tab
  focused_text_is "$expected"
}
xdotool key alt+l; retype 0.5; xdotool key Tab
lbgr_after Next 0.6
lbgr_after Right 0.61
lbgr_after Prior 0.51
lbgr_after Left 0.5
lbgr_after Down 0.51
lbgr_after Up 0.5
pass "PageDown, Right and Down move the thumb right; PageUp, Left and Up left"

lbgr_frame=$(x_layout_place "$layout" frmLBGR)
read -r frame_x frame_y _ <<< "$lbgr_frame"
bar_x=$((CLIENT_X + frame_x + 27 + 60)); bar_y=$((CLIENT_Y + 22 + frame_y + 20))
xdotool key alt+l Tab
xdotool mousemove "$bar_x" "$bar_y" click 5 mousemove 1279 1023
settle
xdotool key shift+Tab
focused_text_is 0.53
xdotool key Tab
xdotool mousemove "$bar_x" "$bar_y" click 4 mousemove 1279 1023
settle
xdotool key shift+Tab
focused_text_is 0.5
pass "the wheel turned towards the user moves the thumb right, away from the user left"

# --- The DCGL limits -----------------------------------------------------------
# The refusal names 0.000001 and 1000000000: beyond them a DCGL is refused
# (the previous one comes back), the limits themselves are taken as typed.
xdotool key alt+d
retype 1000000001
xdotool key Tab
x_wait_for "the DCGL refusal" x_has_message_box
x_answer_message_box
xdotool key alt+d
focused_text_is 1
pass "DCGL 1000000001 is refused"
# Tab goes on to sigma, which is made small enough for the smallest DCGL.
xdotool key alt+d
retype 1000000000
xdotool key Tab
no_box_yet || fail "DCGL 1000000000 showed a message"
retype 0.0000001
xdotool key alt+d
no_box_yet || fail "sigma 0.0000001 showed a message"
focused_text_is 1000000000
retype 0.000001
xdotool key Tab
no_box_yet || fail "DCGL 0.000001 showed a message"
xdotool key alt+d
focused_text_is 0.000001
pass "DCGL 1000000000 and 0.000001, the limits the refusal names, are taken"

x_report
