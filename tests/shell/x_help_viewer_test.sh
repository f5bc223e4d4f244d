#!/usr/bin/env bash
# SPDX-License-Identifier: Apache-2.0
# The help viewer in the real program under a window manager: F1 opens each
# window's and menu's topic with its heading at the top of the view (also the
# last topic), F1 inside the viewer keeps the place, Back returns, the window
# has an icon; a help file that is a FIFO, a link to /dev/zero or oversized
# gets a message at once instead of a hang.
#   x_help_viewer_test.sh <path to valdris-power>
set -euo pipefail

program=${1:?usage: x_help_viewer_test.sh <valdris-power>}
root=$(cd "$(dirname "$0")/../.." && pwd)
source "$root/tests/support/x_session.sh"
work=$(mktemp -d)

# The program reads the help file beside itself: a copy with a help file in
# which every topic's heading has a colour of its own.
cp "$program" "$work/valdris-power"
help=$work/VALDRISPower99.HLP
declare -A colour=([10]=ff00ff [210]=00c0c0 [211]=0080ff [220]=c0c000 [230]=ff8000 [240]=8000ff)
{
  echo '<html><body><h1>Contents</h1>'
  for id in 10 210 211 220 240 230; do
    echo "<h2 style=\"background-color:#${colour[$id]}\"><a name=\"context-$id\"></a>Topic $id</h2>"
    [ "$id" = 230 ] || echo '<p style="margin-bottom:900px">Text of the topic.</p>'
  done
  echo '</body></html>'
} > "$help"

# The topic whose heading stands at the top of the viewer's text: the first
# heading colour met going down the middle of the window, within the toolbar
# and a few pixels below it.
topic_at_top() {
  local shot=$work/viewer.png middle
  x_window_screenshot "$viewer" "$shot"
  middle=$(($(identify -format %w "$shot") / 2))
  x_pixels "$shot" | awk -v middle="$middle" -v pairs="$(topic_colours)" '
    BEGIN { n = split(pairs, p, " "); for (i = 1; i <= n; i++) { split(p[i], kv, "="); topic[kv[1]] = kv[2] } }
    $2 > 120 { exit }
    $1 == middle && (toupper($3) in topic) { print topic[toupper($3)]; exit }'
}
topic_colours() { for id in "${!colour[@]}"; do printf '%s=%s ' "${colour[$id]^^}" "$id"; done; }
expect_topic() {
  local what=$1 id=$2
  showing() { [ "$(topic_at_top)" = "$id" ]; }
  x_wait_for "$what: topic $id at the top of the viewer (showing '$(topic_at_top)')" showing
  pass "$what opens topic $id at its heading"
}

x_session_start 1280x1024x24
trap 'x_session_stop; rm -rf "$work"' EXIT
x_start_at_design_window "$work/valdris-power"
design=$x_design_window

# F1 in a control of the design window.
x_focus "$design"
xdotool key F1
x_wait_for "the help viewer" x_has_window_named "VALDRIS Power Help"
viewer=$(x_window_named "VALDRIS Power Help")
expect_topic "F1 in the design window" 10
has_icon() { xprop -id "$viewer" _NET_WM_ICON 2>/dev/null | grep -q 'Icon ('; }
x_wait_for "the help viewer's icon" has_icon
pass "the help viewer has an icon"

# F1 inside the viewer stays where it is.
x_focus "$viewer"
xdotool key F1
sleep 0.5
[ "$(topic_at_top)" = 10 ] || fail "F1 in the viewer moved it to '$(topic_at_top)'"
pass "F1 in the viewer keeps the place"

# Opens a menu of the design window and waits for its popup.
open_menu() {
  local before
  x_focus "$design"
  before=$(x_count_visible)
  xdotool key "$1"
  menu_open() { [ "$(x_count_visible)" -gt "$before" ]; }
  x_wait_for "the menu ($1)" menu_open
  menu_windows=$before
}
# F1 leaves the menu open behind the viewer: Escape closes it.
close_menu() {
  menu_closed() { [ "$(x_count_visible)" -le "$menu_windows" ] || { xdotool key Escape; false; }; }
  x_focus "$design"
  x_wait_for "the menu to close" menu_closed
}
# The keyboard opens the File menu on its first item, Save Report, which has
# a topic of its own; Exit has none and takes the menu's.
open_menu alt+f; xdotool key F1; expect_topic "F1 on the File menu's Save Report" 211; close_menu
open_menu alt+f; xdotool key Up F1; expect_topic "F1 on the File menu's Exit" 210; close_menu
open_menu alt+h; xdotool key F1; expect_topic "F1 on the Help menu" 220; close_menu

# The About window is the splash again.
open_menu alt+h; xdotool key a
x_wait_for "the About window" x_splash_shown
about=$(x_splash_window)
x_focus "$about"; xdotool key F1
expect_topic "F1 in the About window" 230
x_focus "$about"; xdotool key Return
x_wait_for "the About window to close" x_splash_gone
open_menu alt+h; xdotool key Return
x_wait_for "Getting Started" x_has_window_named "Getting Started"
x_focus "$(x_window_named "Getting Started")"; xdotool key F1
expect_topic "F1 in Getting Started" 240

x_focus "$viewer"; xdotool key alt+Left
expect_topic "Back in the viewer" 230

# Help files the viewer must not read: each gets a message, at once.
refused() {
  local what=$1
  x_focus "$design"
  xdotool key F1
  x_wait_for "a message for a help file that is $what" x_has_message_box
  [ "$(x_message_boxes)" = 1 ] || fail "$(x_message_boxes) message boxes for $what"
  # The box closes on the key press, before a key sent to its window id is
  # released there: Return goes to the focused box instead.
  x_focus "$(x_message_box)"
  xdotool key Return
  x_wait_for "the message box to close" x_no_message_box
  kill -0 "$x_program_pid" || fail "the program ended on a help file that is $what"
  pass "a help file that is $what is refused with a message"
}
rm "$help"; mkfifo "$help"; refused "a FIFO"
rm "$help"; ln -s /dev/zero "$help"; refused "a link to /dev/zero"
rm "$help"; head -c 300000 /dev/zero | tr '\0' x > "$help"; refused "over the size cap"
x_report
