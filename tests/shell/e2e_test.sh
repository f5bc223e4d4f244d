#!/usr/bin/env bash
# SPDX-License-Identifier: Apache-2.0
# End to end: the real program on a virtual X display with a window manager,
# driven as a user would.
#   e2e_test.sh <path to valdris-power>
# Splash centred -> OK -> design window with the defaults -> Help, Getting
# Started twice gives one window -> Help, About shows the splash again -> F1
# opens the help viewer -> closing the design window closes the viewer and
# leaves the program running with Getting Started -> its OK ends the program
# with status 0.
set -euo pipefail

program=${1:?usage: e2e_test.sh <valdris-power>}
source "$(dirname "$0")/../support/x_session.sh"
x_session_start 1280x1024x24

wait_for() { x_wait_for "$@"; }
visible_windows() { x_visible_windows; }
count_visible() { x_count_visible; }
window_named() { x_window_named "$1"; }
has_window_named() { x_has_window_named "$1"; }
count_named() { x_count_named "$1"; }
focus() { x_focus "$1"; }

focus() { xdotool windowactivate --sync "$1" 2>/dev/null || xdotool windowfocus --sync "$1"; }

clipboard_is() { [ "$(xclip -o -selection clipboard 2>/dev/null || true)" = "$1" ]; }
# Copies the focused input's whole text and compares it.
expect_focused_text() {
  local label=$1 expected=$2
  printf 'stale' | xclip -selection clipboard
  xdotool key --clearmodifiers ctrl+a ctrl+c
  wait_for "$label to read '$expected' (clipboard: '$(xclip -o -selection clipboard 2>/dev/null)')" \
    clipboard_is "$expected"
  pass "$label is '$expected'"
}

# 1. The splash window, centred on the screen.
x_start_program "$program"
pid=$x_program_pid
splash=$x_splash
eval "$(xdotool getdisplaygeometry --shell)"
screen_w=$WIDTH; screen_h=$HEIGHT
eval "$(xdotool getwindowgeometry --shell "$splash")"
dx=$((X - (screen_w - WIDTH) / 2)); dy=$((Y - (screen_h - HEIGHT) / 2))
[ ${dx#-} -le 1 ] && [ ${dy#-} -le 1 ] || fail "splash at $X,$Y is not centred on ${screen_w}x${screen_h}"
[ "$(count_visible)" = 1 ] || fail "more than the splash window at start"
pass "splash centred at $X,$Y"

# 2. OK (the only control, focused): the design window with its defaults.
focus "$splash"
xdotool key Return
wait_for "the design window" has_window_named "VALDRIS Power 2000"
wait_for "the splash to close" x_splash_gone
[ "$(count_visible)" = 1 ] || fail "OK left $(count_visible) windows"
design=$(window_named "VALDRIS Power 2000")
pass "OK opened the design window alone"

focus "$design"
expect_focused_text "Radionuclide" "Unity Rule"
xdotool key Tab;  expect_focused_text "DCGL" "1"
xdotool key Tab;  expect_focused_text "Sigma" ".5"
xdotool key Tab Tab;  expect_focused_text "Alpha" "0.05"
xdotool key Tab;  expect_focused_text "Beta" "0.05"
xdotool key Tab;  expect_focused_text "LBGR" "0.5"

# 3. Help, Getting Started, twice: one window.
# Opens the Help menu of the design window and waits for its popup.
open_help_menu() {
  local before
  focus "$design"
  before=$(count_visible)
  xdotool key alt+h
  menu_open() { [ "$(count_visible)" -gt "$before" ]; }
  wait_for "the Help menu" menu_open
}
open_getting_started() {
  open_help_menu
  xdotool key Return
  wait_for "Getting Started" has_window_named "Getting Started"
}
open_getting_started
open_getting_started
[ "$(count_named "Getting Started")" = 1 ] || fail "Getting Started opened more than once"
pass "Getting Started twice gives one window"

# 4. Help, About: the splash again; its OK returns to the design window.
open_help_menu
xdotool key a
wait_for "the About window" x_splash_shown
pass "About shows the splash window"
focus "$(x_splash_window)"
xdotool key Return
wait_for "the About window to close" x_splash_gone
has_window_named "VALDRIS Power 2000" || fail "the design window went away with About"
pass "About's OK returns to the design window"

# 5. F1 in the Help menu opens the help file beside the program.
open_help_menu
xdotool key F1
wait_for "the help viewer" has_window_named "VALDRIS Power Help"
xdotool key Escape
pass "F1 opened the help viewer"

# 6. Closing the design window closes the help viewer, and leaves Getting
#    Started and the program running.
focus "$design"
xdotool key alt+x
design_gone() { ! has_window_named "VALDRIS Power 2000"; }
wait_for "the design window to close" design_gone
help_gone() { ! has_window_named "VALDRIS Power Help"; }
wait_for "the help viewer to close with the design window" help_gone
kill -0 "$pid" 2>/dev/null || fail "the program ended while Getting Started was open"
has_window_named "Getting Started" || fail "Getting Started closed with the design window"
pass "Getting Started keeps the program running"

# 7. Its OK ends the program, with status 0.
focus "$(window_named "Getting Started")"
xdotool key Return
ended() { ! kill -0 "$pid" 2>/dev/null; }
wait_for "the program to end" ended
status=0; wait "$pid" || status=$?
x_program_pid=
[ "$status" = 0 ] || fail "the program ended with status $status"
pass "the program ended with status 0"
x_report
