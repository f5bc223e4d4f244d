#!/usr/bin/env bash
# SPDX-License-Identifier: Apache-2.0
# What a window manager that follows the Motif hints (xfwm4) makes of Getting
# Started's frame in the real program: a title bar with a close button only,
# no icon (window menu), no minimise, no maximise, no resizing.
#   getting_started_frame_x_test.sh <path to valdris-power>
# Under openbox, which keeps its own buttons, the display scale test checks
# the frame on a display it has started anyway.
set -euo pipefail

program=${1:?usage: getting_started_frame_x_test.sh <valdris-power>}
root=$(cd "$(dirname "$0")/../.." && pwd)
source "$root/tests/support/x_session.sh"

allowed_actions() { xprop -id "$1" _NET_WM_ALLOWED_ACTIONS 2>/dev/null; }
has_allowed_actions() { allowed_actions "$1" | grep -q '='; }
allows() { [[ "$(allowed_actions "$1")" == *"_NET_WM_ACTION_$2"* ]]; }
shown() { [ -n "$(x_window_named "Getting Started")" ]; }

# Help, Getting Started from the design window; sets started to its window.
open_getting_started() {
  x_focus "$x_design_window"
  xdotool key alt+h
  sleep 0.3
  xdotool key Return
  x_wait_for "Getting Started ($1)" shown
  started=$(x_window_named "Getting Started")
  x_wait_for "the window manager's actions for Getting Started ($1)" has_allowed_actions "$started"
}

# The title bar left of the caption: "icon" when a row of it has more than one
# colour (themes shade title bars from top to bottom, not across), "plain"
# otherwise, or "blank" while the window manager has not drawn it yet.
title_bar_start() {
  local shot
  shot=$(mktemp --suffix=.png)
  x_frame_geometry "$1"
  # Clear of the frame's corners and edges.
  import -window root -crop "40x$((CLIENT_Y - FRAME_Y - 8))+$((CLIENT_X + 4))+$((FRAME_Y + 4))" +repage "$shot"
  x_pixels "$shot" | awk '
    { if ($3 != "000000") drawn = 1
      if (!($2 in first)) first[$2] = $3; else if (first[$2] != $3) icon = 1 }
    END { print icon ? "icon" : drawn ? "plain" : "blank" }'
  rm -f "$shot"
}
title_bar_shows_icon() { [ "$(title_bar_start "$1")" = icon ]; }
title_bar_drawn() { [ "$(title_bar_start "$1")" != blank ]; }

no_maximise_or_resize() {
  local action
  for action in MAXIMIZE_HORZ MAXIMIZE_VERT RESIZE; do
    ! allows "$started" "$action" || fail "$1: Getting Started allows $action"
  done
}

# --- xfwm4 ------------------------------------------------------------------
x_session_start 1280x1024x24 xfwm4
x_start_at_design_window "$program"
# The design window has its icon: seeing it proves the look for icons.
x_wait_for "the icon on the design window's title bar" title_bar_shows_icon "$x_design_window"
open_getting_started xfwm4
hints=$(xprop -id "$started" _MOTIF_WM_HINTS)
# Functions move and close; decorations border and title.
[[ "$hints" == *"= 0x3, 0x24, 0xa,"* ]] || fail "Getting Started asks for more than a close button: $hints"
allows "$started" CLOSE || fail "xfwm4: Getting Started cannot be closed"
allows "$started" MOVE || fail "xfwm4: Getting Started cannot be moved"
! allows "$started" MINIMIZE || fail "xfwm4: Getting Started can be minimised"
no_maximise_or_resize xfwm4
pass "xfwm4: Getting Started can be moved and closed, not minimised, maximised or resized"
x_wait_for "Getting Started's title bar" title_bar_drawn "$started"
[ "$(title_bar_start "$started")" = plain ] || fail "xfwm4: Getting Started's title bar shows an icon"
pass "xfwm4: Getting Started's title bar has no icon"
[ -n "${VALDRIS_X_SHOTS:-}" ] && x_screenshot "$VALDRIS_X_SHOTS/getting-started-xfwm4.png"
x_check_program_log
x_report
