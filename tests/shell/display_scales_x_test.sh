#!/usr/bin/env bash
# SPDX-License-Identifier: Apache-2.0
# Every window of the real program on the screens and at the scales people
# use, under openbox: one display per screen size, one program start per scale.
#   display_scales_x_test.sh <path to valdris-power> [WxH:scale:checks ...]
# Placement ("placed": 640x480, 800x600 and 1280x1024 at scale 1, 1280x1024
# at scale 2):
# - the splash and the design window are centred by their frames (title bar
#   and borders included), the design window once the window manager has told
#   its frame; Getting Started and the help viewer lie on the screen;
# - with "frame" too, Getting Started can be neither maximised nor resized
#   (openbox keeps its own minimise button whatever a window asks), and once
#   minimised comes back, still one window, with Help, Getting Started.
# Scales ("scaled": 1366x768 and 1920x1080 at scales 1, 1.25, 1.5 and 2), for
# the splash, the design window, Getting Started, the help viewer and the plan
# window:
# - the outer frame lies on the screen;
# - a window over a surface of fixed size (the splash, the design window)
#   scrolls only in a direction in which the screen holds no more of it, and
#   then the other way only when the scroll bar leaves too little room;
# - the splash's OK button (the splash has no title bar to move it by) lies
#   inside the window and on the screen.
# Every program start ends with no sanitizer report in its output.
# VALDRIS_X_SHOTS=<dir> keeps a screenshot of each case.
set -euo pipefail

program=${1:?usage: display_scales_x_test.sh <valdris-power> [WxH:scale:checks ...]}
shift
cases=("$@")
# Cases of one screen size follow each other: they share its display.
[ ${#cases[@]} -gt 0 ] || cases=(640x480:1:placed 800x600:1:placed 1280x1024:1:placed,frame 1280x1024:2:placed
                                  1366x768:1:scaled 1366x768:1.25:scaled 1366x768:1.5:scaled 1366x768:2:scaled
                                  1920x1080:1:scaled 1920x1080:1.25:scaled 1920x1080:1.5:scaled 1920x1080:2:scaled)
root=$(cd "$(dirname "$0")/../.." && pwd)
source "$root/tests/support/x_session.sh"

scratch=$(mktemp -d)
x_program_log=$scratch/program.log
end_all() { x_session_stop; rm -rf "$scratch"; }
trap end_all EXIT

# What the accessibility bus tells of one window (by its title; the splash has
# none), in logical pixels: "window x y w h", "bar v|h" for each scroll bar
# of the window itself (those of controls have names or lie in a control's
# pane), "ok x y w h" for its OK button.
window_report() {
  /usr/bin/python3 - "$x_program_pid" "$1" "$x_support_dir" <<'PY' 2>/dev/null
import sys
sys.path.insert(0, sys.argv[3])
import atspi_probe
nodes = atspi_probe.snapshot(int(sys.argv[1]))
if not nodes:
    sys.exit(1)
mine = [n for n in nodes if n.window == sys.argv[2]]
tops = [n for n in mine if n.role in ("frame", "dialog")]
if not tops:
    sys.exit(1)
print("window %d %d %d %d" % tops[0].extents)
for n in mine:
    x, y, w, h = n.extents
    if n.role == "scroll bar" and not n.name and n.acc.parent.getRoleName() == "filler":
        print("bar", "h" if w > h else "v")
    if n.role == "push button" and n.name == "OK":
        print("ok %d %d %d %d" % n.extents)
PY
}

report=
x_fail_hook=dump_report
dump_report() { echo "last report: $report" >&2; }
read_window() { report=$(window_report "$1") && [[ $report == window* ]]; }
field() { awk -v k="$1" '$1 == k { print $2, $3, $4, $5 }' <<< "$report"; }
has_bar() { grep -qx "bar $1" <<< "$report"; }

frame_on_screen() {
  x_frame_geometry "$1"
  [ "$FRAME_X" -ge 0 ] && [ "$FRAME_Y" -ge 0 ] &&
    [ $((FRAME_X + FRAME_W)) -le "$screen_w" ] && [ $((FRAME_Y + FRAME_H)) -le "$screen_h" ]
}
has_frame_extents() { xprop -id "$1" _NET_FRAME_EXTENTS 2>/dev/null | grep -q '='; }

# An edge as the centring puts it: half the spare room, or 0 when there is none.
centred() { local spare=$(($1 - $2)); [ $spare -lt 0 ] && spare=0; echo $((spare / 2)); }
near() { local d=$(($1 - $2)); [ ${d#-} -le 1 ]; }
centred_on_screen() {
  frame_on_screen "$1" &&
    near "$FRAME_X" "$(centred "$screen_w" "$FRAME_W")" && near "$FRAME_Y" "$(centred "$screen_h" "$FRAME_H")"
}

# A logical length in device pixels (1) or a device length in logical ones (-1).
at_scale() { awk -v v="$1" -v s="$scale" -v p="$2" 'BEGIN { printf "%d", v * s ^ p + 0.5 * (p > 0) }'; }
shot() { [ -z "${VALDRIS_X_SHOTS:-}" ] || x_screenshot "$VALDRIS_X_SHOTS/$1-$screen-x$scale.png"; }

# A scroll bar only where the window is as large as the screen allows that
# way (its frame within two logical pixels of the screen's size: a window is
# kept a little inside at fractional scales).
check_scroll_bars() {
  local what=$1 slack
  slack=$(at_scale 2 1)
  if has_bar v && [ $((screen_h - FRAME_H)) -gt "$slack" ]; then
    fail "$label: $what scrolls down though the screen has room below it (frame ${FRAME_W}x${FRAME_H})"
  fi
  if has_bar h && [ $((screen_w - FRAME_W)) -gt "$slack" ]; then
    fail "$label: $what scrolls across though the screen has room beside it (frame ${FRAME_W}x${FRAME_H})"
  fi
}

# A window with a title: shown, framed, on the screen.
check_framed_window() {
  local title=$1 what=$2 w
  x_wait_for "$what ($label)" x_has_window_named "$title"
  w=$(x_window_named "$title")
  x_wait_for "$what's frame ($label)" has_frame_extents "$w"
  x_wait_for "$what's frame on the screen ($label)" frame_on_screen "$w"
  pass "$label: $what ${FRAME_W}x${FRAME_H} at $FRAME_X,$FRAME_Y, on the screen"
}

# The OK button inside the splash and on the (logical) screen.
ok_reachable() {
  read_window "" || return 1
  local wx wy ww wh ox oy ow oh sw sh
  read -r wx wy ww wh <<< "$(field window)"
  read -r ox oy ow oh <<< "$(field ok)"
  [ -n "$oh" ] || return 1
  sw=$(at_scale "$screen_w" -1)
  sh=$(at_scale "$screen_h" -1)
  [ "$ox" -ge "$wx" ] && [ "$oy" -ge "$wy" ] && [ $((ox + ow)) -le $((wx + ww)) ] && [ $((oy + oh)) -le $((wy + wh)) ] &&
    [ "$ox" -ge 0 ] && [ "$oy" -ge 0 ] && [ $((ox + ow)) -le "$sw" ] && [ $((oy + oh)) -le "$sh" ]
}

# Help > Getting Started, the menu's first item, once the menu has opened.
open_getting_started() {
  local before
  before=$(x_count_visible)
  x_focus "$1"
  xdotool key alt+h
  menu_open() { [ "$(x_count_visible)" -gt "$before" ]; }
  local deadline=$((SECONDS + 3))
  until menu_open; do [ $SECONDS -lt $deadline ] || return 1; sleep 0.05; done
  xdotool key Return
  deadline=$((SECONDS + 3))
  until x_has_window_named "Getting Started"; do
    [ $SECONDS -lt $deadline ] || return 1
    sleep 0.05
  done
}

# What openbox lets a person do with Getting Started (see the top).
allowed_actions() { xprop -id "$1" _NET_WM_ALLOWED_ACTIONS 2>/dev/null; }
has_allowed_actions() { allowed_actions "$1" | grep -q '='; }
allows() { [[ "$(allowed_actions "$1")" == *"_NET_WM_ACTION_$2"* ]]; }
started_hidden() { ! x_has_window_named "Getting Started"; }
check_getting_started_frame() {
  local design=$1 started first action
  started=$(x_window_named "Getting Started")
  x_wait_for "the window manager's actions for Getting Started ($label)" has_allowed_actions "$started"
  for action in MAXIMIZE_HORZ MAXIMIZE_VERT RESIZE; do
    ! allows "$started" "$action" || fail "$label: Getting Started allows $action"
  done
  pass "$label: Getting Started cannot be maximised or resized"
  first=$started
  xdotool windowminimize "$started"
  x_wait_for "Getting Started to be minimised ($label)" started_hidden
  x_wait_for "Getting Started again from the Help menu ($label)" open_getting_started "$design"
  started=$(x_window_named "Getting Started")
  [ "$started" = "$first" ] || fail "Help, Getting Started opened another window instead of the minimised one"
  [ "$(x_count_named "Getting Started")" = 1 ] || fail "more than one Getting Started"
  pass "$label: a minimised Getting Started comes back with Help, Getting Started"
}

# A display of the case's screen size, unless the last case left one; with
# the accessibility bus for the scale checks.
session_screen=
use_screen() {
  [ "$session_screen" = "$1" ] && return 0
  x_session_stop
  unset DBUS_SESSION_BUS_ADDRESS QT_LINUX_ACCESSIBILITY_ALWAYS_ON
  x_session_start "${1}x24"
  trap end_all EXIT
  [[ $2 != *scaled* ]] || x_accessibility_start
  read -r screen_w screen_h < <(xdotool getdisplaygeometry)
  session_screen=$1
}

end_program() {
  x_check_program_log
  kill "$x_program_pid" 2>/dev/null || true
  wait "$x_program_pid" 2>/dev/null || true
  x_program_pid=
}

check_case() {
  local screen=${1%%:*} checks=${1##*:} splash design
  scale=${1#*:}; scale=${scale%%:*}
  label="$screen at scale $scale"
  # A home of its own: the plan the last case left unsaved is not offered.
  # (No colon in it: the accessibility bus cannot start in such a home.)
  export HOME=$scratch/$screen-x$scale
  export XDG_CONFIG_HOME=$HOME/config XDG_STATE_HOME=$HOME/state
  mkdir -p "$HOME"
  use_screen "$screen" "$checks"
  QT_SCALE_FACTOR=$scale x_start_program "$program"
  splash=$x_splash
  if [[ $checks == *placed* ]]; then
    x_wait_for "the splash centred on the screen ($label)" centred_on_screen "$splash"
    pass "$label: splash ${FRAME_W}x${FRAME_H} at $FRAME_X,$FRAME_Y, on screen and centred"
  else
    x_wait_for "the splash on the screen ($label)" frame_on_screen "$splash"
    x_wait_for "the splash's OK button inside the window and on the screen ($label)" ok_reachable
    check_scroll_bars "the splash"
    pass "$label: splash ${FRAME_W}x${FRAME_H} on the screen, its OK button in view, scroll bars: $(grep -c '^bar' <<< "$report" || true)"
  fi
  shot splash

  x_answer_splash
  check_framed_window "VALDRIS Power 2000" "the design window"
  design=$x_design_window
  if [[ $checks == *placed* ]]; then
    # The window may still be on its way.
    x_wait_for "the design window centred by its frame within ${screen_w}x${screen_h} ($label)" \
      centred_on_screen "$design"
    pass "$label: design window frame ${FRAME_W}x${FRAME_H} at $FRAME_X,$FRAME_Y, on screen and centred"
  else
    # Centred again once the window manager told the frame: read it settled.
    sleep 0.3
    frame_on_screen "$design" || fail "$label: the design window left the screen"
    x_wait_for "the design window on the accessibility bus ($label)" read_window "VALDRIS Power 2000"
    check_scroll_bars "the design window"
    pass "$label: the design window scrolls only where the screen is too small for it"
  fi
  shot design

  x_wait_for "Getting Started from the Help menu ($label)" open_getting_started "$design"
  check_framed_window "Getting Started" "Getting Started"
  [[ $checks != *frame* ]] || check_getting_started_frame "$design"

  x_focus "$design"
  xdotool key F1
  check_framed_window "VALDRIS Power Help" "the help viewer"
  shot help

  if [[ $checks == *scaled* ]]; then
    x_focus "$design"
    xdotool key --clearmodifiers ctrl+d
    check_framed_window 'Survey Plan - Untitled\*' "the plan window"
    shot plan
  fi
  end_program
}

for c in "${cases[@]}"; do check_case "$c"; done
x_report
