#!/usr/bin/env bash
# SPDX-License-Identifier: Apache-2.0
# The real program under a window manager: a press on a repeating control is
# one user action, and a message box that its change opens stops the repeat.
#   held_arrows_x_test.sh <path to valdris-power>
# Arrows are held with xdotool mousedown / sleep / mouseup while the open
# message boxes are counted; a repeat left running opens box after box.
set -euo pipefail
program=${1:?usage: held_arrows_x_test.sh <valdris-power>}
source "$(dirname "$0")/../support/x_session.sh"

x_session_start 1280x1024x24
x_accessibility_start
x_start_at_design_window "$program"
design=$x_design_window
controls_ready() { x_controls centre bar > /dev/null && x_controls centre sigma > /dev/null; }
x_wait_for "the controls on the accessibility bus" controls_ready

most_boxes=0
# Samples the number of open message boxes for a while and keeps the largest.
watch_boxes() {
  local until=$(($(date +%s%N) / 1000000 + $1)) n
  while [ $(($(date +%s%N) / 1000000)) -lt $until ]; do
    n=$(x_message_boxes)
    [ "$n" -gt "$most_boxes" ] && most_boxes=$n
    sleep 0.05
  done
}

type_into() {  # type_into <control> <text>: click it, replace its text, Tab away
  local point; point=$(x_controls centre "$1")
  x_focus "$design"
  # shellcheck disable=SC2086
  xdotool mousemove $point click 1
  xdotool key ctrl+a && xdotool type --delay 20 "$2" && xdotool key Tab
  sleep 0.3
}

text_is() { [ "$(x_controls text "$1")" = "$2" ]; }
expect_text() { x_wait_for "$1 to read '$2' (reads '$(x_controls text "$1")')" text_is "$1" "$2"; }

# hold <x y> <seconds>: presses there, counts boxes while held and after.
hold() {
  most_boxes=0
  # shellcheck disable=SC2086
  xdotool mousemove $1 mousedown 1
  watch_boxes "$2"
  xdotool mouseup 1
  watch_boxes 600
}

answer_all_then_quiet() {  # answers the one box, then no other may come
  local what=$1
  [ "$most_boxes" -le 1 ] || fail "$what: $most_boxes message boxes open at once"
  x_wait_for "$what: its message box" x_has_message_box
  x_answer_message_box
  most_boxes=0
  watch_boxes 1500
  [ "$most_boxes" = 0 ] || fail "$what: another message box came after the first was answered"
}

# 1. The sigma spin's up arrow held 1.5 s: 4.99 -> 5 -> 5.01, where the shift
#    rule speaks once; the repeat stops with its box.
type_into sigma 4.99
hold "$(x_controls centre spin-up)" 1500
answer_all_then_quiet "sigma up arrow held"
expect_text sigma 5.01
expect_text lbgr 0.498
pass "a held sigma arrow stops at the box of the shift rule"

# 2. Sigma 10 (D/s 0.05): the right arrow of the bar held 1.5 s, then a
#    click in its trough; each shows the shift rule's message once and LBGR
#    ends at DCGL - 0.1 sigma = 0.
type_into sigma 10
hold "$(x_controls arrow right)" 1500
answer_all_then_quiet "bar arrow held"
expect_text lbgr 0
pass "a held bar arrow stops at the box of the shift rule"

hold "$(x_controls arrow trough-right)" 1500
answer_all_then_quiet "bar trough held"
expect_text lbgr 0
pass "a held trough stops at the box of the shift rule"

# 3. A refused LBGR, then a click on the bar's arrow: leaving the box opens
#    its message during the press, the button is released meanwhile, and the
#    press the bar then gets is one step, not a run to the end of the bar.
type_into sigma .5
x_focus "$design"
# shellcheck disable=SC2086
xdotool mousemove $(x_controls centre lbgr) click 1
xdotool key ctrl+a && xdotool type "2"
most_boxes=0
# shellcheck disable=SC2086
xdotool mousemove $(x_controls arrow right) mousedown 1
sleep 0.2
xdotool mouseup 1
watch_boxes 300
answer_all_then_quiet "click on the bar after a refused LBGR"
expect_text lbgr 0.01
pass "a click that leaves a refused LBGR moves the bar one step"

kill -0 "$x_program_pid" 2>/dev/null || fail "the program ended"
x_check_program_log
x_report
