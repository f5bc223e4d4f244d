#!/usr/bin/env bash
# SPDX-License-Identifier: Apache-2.0
# Where the real program's windows appear, under openbox on screens of several
# sizes and at scale 2:
#   window_placement_x_test.sh <path to valdris-power>
# - every window's frame (title bar and borders included) lies on the screen;
# - the splash and the design window are centred by their frames, the design
#   window once the window manager has told its frame;
# - the help viewer fits the screen too.
set -euo pipefail

program=${1:?usage: window_placement_x_test.sh <valdris-power>}
root=$(cd "$(dirname "$0")/../.." && pwd)
source "$root/tests/support/x_session.sh"

# An edge as the centring puts it: half the spare room, or 0 when there is none.
centred() { local spare=$(($1 - $2)); [ $spare -lt 0 ] && spare=0; echo $((spare / 2)); }
near() { local d=$(($1 - $2)); [ ${d#-} -le 1 ]; }

frame_on_screen() {
  [ "$FRAME_X" -ge 0 ] && [ "$FRAME_Y" -ge 0 ] &&
    [ $((FRAME_X + FRAME_W)) -le "$screen_w" ] && [ $((FRAME_Y + FRAME_H)) -le "$screen_h" ]
}
frame_centred() {
  near "$FRAME_X" "$(centred "$screen_w" "$FRAME_W")" && near "$FRAME_Y" "$(centred "$screen_h" "$FRAME_H")"
}
has_frame_extents() { xprop -id "$1" _NET_FRAME_EXTENTS 2>/dev/null | grep -q '='; }
centred_on_screen() { x_frame_geometry "$1"; frame_on_screen && frame_centred; }
on_screen() { x_frame_geometry "$1"; frame_on_screen; }

# One screen: splash, design window, Getting Started.
check_screen() {
  local screen=$1 scale=$2 label="$1 at scale $2" splash design started
  x_session_start "$screen"
  read -r screen_w screen_h < <(xdotool getdisplaygeometry)
  QT_SCALE_FACTOR=$scale x_start_program "$program"
  splash=$x_splash
  x_wait_for "the splash centred on the screen ($label)" centred_on_screen "$splash"
  pass "$label: splash ${FRAME_W}x${FRAME_H} at $FRAME_X,$FRAME_Y, on screen and centred"

  x_focus "$splash"
  xdotool key Return
  x_wait_for "the design window ($label)" x_has_window_named "VALDRIS Power 2000"
  design=$(x_window_named "VALDRIS Power 2000")
  x_wait_for "the design window's frame ($label)" has_frame_extents "$design"
  # The window may still be on its way.
  x_wait_for "the design window centred by its frame within ${screen_w}x${screen_h} ($label)" \
    centred_on_screen "$design"
  pass "$label: design window frame ${FRAME_W}x${FRAME_H} at $FRAME_X,$FRAME_Y, on screen and centred"

  x_focus "$design"
  xdotool key alt+h
  sleep 0.3
  xdotool key Return
  x_wait_for "Getting Started ($label)" x_has_window_named "Getting Started"
  started=$(x_window_named "Getting Started")
  x_wait_for "the Getting Started frame ($label)" has_frame_extents "$started"
  x_wait_for "the Getting Started frame on the screen ($label)" on_screen "$started"
  pass "$label: Getting Started on screen"
  [ -n "${VALDRIS_X_SHOTS:-}" ] && x_screenshot "$VALDRIS_X_SHOTS/placement-${screen}-x$scale.png"

  local viewer
  x_focus "$design"
  xdotool key F1
  x_wait_for "the help viewer ($label)" x_has_window_named "VALDRIS Power Help"
  viewer=$(x_window_named "VALDRIS Power Help")
  x_wait_for "the help viewer's frame ($label)" has_frame_extents "$viewer"
  x_wait_for "the help viewer's frame on the screen ($label)" on_screen "$viewer"
  pass "$label: help viewer on screen"

  x_session_stop
}

check_screen 1280x1024x24 1
check_screen 800x600x24 1
check_screen 640x480x24 1
check_screen 1280x1024x24 2
x_report
