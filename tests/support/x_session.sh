# SPDX-License-Identifier: Apache-2.0
# Shared by the tests of the real program: a virtual X display with a window
# manager, and the waits and queries those tests need. Source it from bash:
#
#   source "$root/tests/support/x_session.sh"
#   x_session_start 1280x1024x24      # Xvfb + openbox; exports DISPLAY
#   x_start_at_design_window "$program"   # sets x_design_window
#   ...
#   (x_session_stop runs on exit)
#
# Screen size and the program's scale can be chosen per test:
#   QT_SCALE_FACTOR=2 x_start_program "$program"
#
# fail/pass print TAP-like lines and the closing "N passed, 0 failed" line
# comes from x_report.

x_timeout_s=${VALDRIS_X_TIMEOUT:-20}
x_support_dir=$(cd "$(dirname "${BASH_SOURCE[0]}")" && pwd)
x_passed=0
x_program_pid=
x_xvfb_pid=
x_wm_pid=
x_wm_bus_pid=
x_dbus_pid=

fail() {
  echo "FAIL: $*" >&2
  [ -n "${x_fail_hook:-}" ] && "$x_fail_hook"
  if [ -s "${x_program_log:-}" ]; then
    echo "--- the program's output:" >&2
    tail -n 20 "$x_program_log" >&2
  fi
  exit 1
}
pass() { x_passed=$((x_passed + 1)); echo "ok - $*"; }
x_report() { echo "$x_passed passed, 0 failed"; }

# Polls a command until it succeeds or the time is up.
x_wait_for() {
  local what=$1; shift
  local deadline=$((SECONDS + x_timeout_s))
  until "$@"; do
    [ $SECONDS -lt $deadline ] || fail "timed out waiting for $what"
    sleep 0.05
  done
}

# Starts Xvfb on a free display and a window manager on it (openbox unless
# the second argument names xfwm4); both end with the shell.
# Xvfb picks the display itself (-displayfd), so tests started at the same
# moment cannot take the same one. -noreset: Xvfb otherwise resets whenever
# its last client leaves, and a program started during the reset finds no
# display.
x_session_start() {
  local screen=${1:-1280x1024x24} window_manager=${2:-openbox} display_file
  display_file=$(mktemp)
  Xvfb -displayfd 3 -screen 0 "$screen" -noreset -nolisten tcp 3> "$display_file" > /dev/null 2>&1 &
  x_xvfb_pid=$!
  trap x_session_stop EXIT
  local deadline=$((SECONDS + 10))
  until [ -s "$display_file" ]; do
    kill -0 "$x_xvfb_pid" 2>/dev/null || fail "Xvfb did not start"
    [ $SECONDS -lt $deadline ] || fail "Xvfb did not report its display"
    sleep 0.05
  done
  export DISPLAY=":$(tr -dc 0-9 < "$display_file")"
  rm -f "$display_file"
  export QT_QPA_PLATFORM=xcb
  unset QT_SCALE_FACTOR QT_SCREEN_SCALE_FACTORS QT_AUTO_SCREEN_SCALE_FACTOR WAYLAND_DISPLAY
  case $window_manager in
    openbox) openbox --sm-disable > /dev/null 2>&1 & ;;
    # xfwm4 reads its settings through xfconf, which lives on a session bus
    # of the window manager's own.
    xfwm4)
      local bus
      bus=$(dbus-daemon --session --fork --nopidfile --print-address=1 --print-pid=1 | tr '\n' ' ')
      x_wm_bus_pid=$(echo "$bus" | awk '{print $2}')
      DBUS_SESSION_BUS_ADDRESS=${bus%% *} NO_AT_BRIDGE=1 xfwm4 --compositor=off --sm-client-disable > /dev/null 2>&1 & ;;
    *) fail "no such window manager here: $window_manager" ;;
  esac
  x_wm_pid=$!
  x_wait_for "the window manager" x_wm_running
}

# openbox announces itself on the root window once it manages the screen.
x_wm_running() { xprop -root _NET_SUPPORTING_WM_CHECK 2>/dev/null | grep -q 'window id'; }

# The accessibility bus, so that tests can read the program's controls
# (tests/support/atspi_probe.py) with no debug hook in the program. Call after
# x_session_start and before starting the program.
x_accessibility_start() {
  local started
  started=$(dbus-daemon --session --fork --nopidfile --print-address=1 --print-pid=1 | tr '\n' ' ')
  export DBUS_SESSION_BUS_ADDRESS=${started%% *}
  x_dbus_pid=$(echo "$started" | awk '{print $2}')
  export QT_LINUX_ACCESSIBILITY_ALWAYS_ON=1
  # The first call starts the accessibility bus through the session bus; the
  # bus and its registry end with the session bus (x_session_stop).
  bus_up() { dbus-send --session --print-reply --dest=org.a11y.Bus /org/a11y/bus org.a11y.Bus.GetAddress > /dev/null 2>&1; }
  x_wait_for "the accessibility bus" bus_up
}

# One node per line (role, name, x,y,w,h, text) of the program's windows.
# With arguments, one control's place or text (see atspi_probe.py).
x_controls() { /usr/bin/python3 "$x_support_dir/atspi_probe.py" "$x_program_pid" "$@" 2>/dev/null; }

x_session_stop() {
  # A process that has already gone is no failure of the test.
  local pid
  for pid in "$x_program_pid" "$x_dbus_pid" "$x_wm_pid" "$x_wm_bus_pid" "$x_xvfb_pid"; do
    [ -z "$pid" ] || kill "$pid" 2>/dev/null || true
  done
  x_program_pid= x_wm_pid= x_wm_bus_pid= x_xvfb_pid= x_dbus_pid=
  [ -z "${x_program_log:-}" ] || rm -f "$x_program_log"
  return 0
}

# Role, name and value of every showing object of the program, one per line,
# tab-separated, as a screen reader has them.
x_accessible_tree() { timeout 20 /usr/bin/python3 "$x_support_dir/atspi_probe.py" "$x_program_pid" tree 2>/dev/null; }

# --- The program's windows (of x_program_pid) -------------------------------

x_visible_windows() { xdotool search --onlyvisible --pid "$x_program_pid" 2>/dev/null || true; }
x_count_visible() { x_visible_windows | grep -c . || true; }
x_window_named() { xdotool search --all --onlyvisible --pid "$x_program_pid" --name "^$1\$" 2>/dev/null | head -1; }
x_has_window_named() { [ -n "$(x_window_named "$1")" ]; }
x_count_named() { xdotool search --all --onlyvisible --pid "$x_program_pid" --name "^$1\$" 2>/dev/null | grep -c . || true; }

# Message boxes carry the application's title alone.
x_message_box_title="VALDRIS Power"
x_message_boxes() { x_count_named "$x_message_box_title"; }
x_message_box() { x_window_named "$x_message_box_title"; }
x_has_message_box() { [ "$(x_message_boxes)" -gt 0 ]; }
x_no_message_box() { [ "$(x_message_boxes)" = 0 ]; }

x_focus() { xdotool windowactivate --sync "$1" 2>/dev/null || xdotool windowfocus --sync "$1"; }

# Answers the message box on top with Return and waits until it is gone. A
# box that has only just been mapped may not take the key yet: it is sent
# again until the box goes or the time is up.
x_answer_message_box() {
  local before box deadline=$((SECONDS + x_timeout_s))
  before=$(x_message_boxes)
  box=$(x_message_box)
  [ -n "$box" ] || fail "no message box to answer"
  while [ "$(x_message_boxes)" -ge "$before" ]; do
    [ $SECONDS -lt $deadline ] || fail "timed out waiting for the message box to close"
    x_focus "$box" || true
    # Typed into the focused box: sent to the box's window instead, the release
    # of the key would find the window the press has already closed.
    xdotool key Return 2>/dev/null || true
    sleep 0.3
  done
}

# A control's place in a window's layout table (tab-separated: control, x, y,
# width, height in pixels at scale 1, within its parent), as "x y w h".
x_layout_place() {
  local place
  place=$(awk -F'\t' -v c="$2" '$1 == c { print $2, $3, $4, $5 }' "$1")
  [ -n "$place" ] || fail "no place for $2 in $1"
  echo "$place"
}

# Ctrl+S in a plan window that has no file yet: Save Plan As (Qt's own file
# dialog) is given the path, and the window's title then names the file.
x_save_plan_as() {
  local window=$1 path=$2
  x_focus "$window"
  xdotool key --clearmodifiers ctrl+s
  x_wait_for "the save dialog" x_has_window_named 'Save Plan As'
  x_focus "$(x_window_named 'Save Plan As')"
  xdotool key --clearmodifiers ctrl+a
  xdotool type --delay 10 "$path"
  xdotool key --clearmodifiers Return
  x_wait_for "the saved plan's title" x_has_window_named "Survey Plan - $(basename "$path")"
}

# Outer frame of a window as the window manager placed it:
# sets FRAME_X FRAME_Y FRAME_W FRAME_H (client geometry plus _NET_FRAME_EXTENTS).
# The client's place comes from xwininfo: xdotool adds the frame offset to it.
x_frame_geometry() {
  local w=$1 left right top bottom x y width height
  read -r x y width height < <(xwininfo -id "$w" | awk '
    /Absolute upper-left X/ { x = $NF } /Absolute upper-left Y/ { y = $NF }
    /^ *Width:/ { w = $NF } /^ *Height:/ { h = $NF } END { print x, y, w, h }')
  read -r left right top bottom < <(xprop -id "$w" _NET_FRAME_EXTENTS 2>/dev/null |
    sed -n 's/.*= *\([0-9]*\), *\([0-9]*\), *\([0-9]*\), *\([0-9]*\).*/\1 \2 \3 \4/p')
  left=${left:-0} right=${right:-0} top=${top:-0} bottom=${bottom:-0}
  CLIENT_X=$x; CLIENT_Y=$y; CLIENT_W=$width; CLIENT_H=$height
  FRAME_X=$((x - left)); FRAME_Y=$((y - top))
  FRAME_W=$((width + left + right)); FRAME_H=$((height + top + bottom))
}

# Saves a screenshot of the whole screen as PNG (needs ImageMagick's import).
x_screenshot() { import -window root "$1" 2>/dev/null || xwd -root -silent > "${1%.png}.xwd"; }

# Saves the client area of a window as PNG (device pixels, as on screen).
x_window_screenshot() {
  x_frame_geometry "$1"
  import -window root -crop "${CLIENT_W}x${CLIENT_H}+${CLIENT_X}+${CLIENT_Y}" +repage "$2" 2>/dev/null
}

# The pixels of an image as lines of "x y RRGGBB", row by row.
x_pixels() {
  local width
  width=$(identify -format %w "$1")
  convert "$1" -depth 8 rgb:- | od -An -v -tu1 -w3 |
    awk -v w="$width" '{ printf "%d %d %02X%02X%02X\n", (NR - 1) % w, int((NR - 1) / w), $1, $2, $3 }'
}

# The splash (and About, which is the splash again) has no caption: its
# WM_NAME is empty (Qt gives it the program's name only as _NET_WM_NAME), and
# unlike a menu it is a dialog. Prints its id, whatever the program's scale.
x_splash_window() {
  local w props
  for w in $(x_visible_windows); do
    props=$(xprop -id "$w" WM_NAME _NET_WM_WINDOW_TYPE 2>/dev/null) || continue
    if grep -qx 'WM_NAME(STRING) = ' <<< "$props" && grep -q '_NET_WM_WINDOW_TYPE_DIALOG' <<< "$props"; then
      echo "$w"; return 0
    fi
  done
  return 1
}
x_splash_shown() { x_splash_window > /dev/null; }
x_splash_gone() { ! x_splash_shown; }

# Starts the program and waits for its first window. The words given are the
# command; settings go before the call (QT_SCALE_FACTOR=2 x_start_program ...).
# Without options the first window is the splash, whose id goes to x_splash;
# with --window TITLE (a plan file opens no splash) it is the window of that
# title. The program's own output goes to x_program_log; x_check_program_log
# fails on a sanitizer report in it.
x_start_program() {
  local title=
  if [ "$1" = --window ]; then title=$2; shift 2; fi
  x_program_log=${x_program_log:-$(mktemp)}
  "$@" 2> "$x_program_log" & x_program_pid=$!
  if [ -n "$title" ]; then
    x_wait_for "the window \"$title\"" x_has_window_named "$title"
  else
    x_wait_for "the splash window" x_splash_shown
    x_splash=$(x_splash_window)
  fi
}

# The splash's OK: Return, sent again should the splash not have had the
# keyboard yet; then the design window is shown and its id is in
# x_design_window.
x_answer_splash() {
  answer_splash() {
    local w; w=$(x_splash_window) || return 0
    x_focus "$w" && xdotool key Return
    local deadline=$((SECONDS + 2))
    until x_has_window_named "VALDRIS Power 2000"; do
      [ $SECONDS -lt $deadline ] || return 1
      sleep 0.05
    done
  }
  x_wait_for "the design window" answer_splash
  x_wait_for "the splash to close" x_splash_gone
  x_design_window=$(x_window_named "VALDRIS Power 2000")
}

# Starts the program and answers its splash (see x_start_program).
x_start_at_design_window() {
  x_start_program "$@"
  x_answer_splash
}

x_check_program_log() {
  if grep -qE 'ERROR: (Address|Leak)Sanitizer|runtime error:|AddressSanitizer' "$x_program_log"; then
    cat "$x_program_log" >&2
    fail "the sanitizer reported a fault"
  fi
}
