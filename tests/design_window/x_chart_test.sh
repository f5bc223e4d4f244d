#!/usr/bin/env bash
# SPDX-License-Identifier: Apache-2.0
# The power chart in the real program under a window manager, at a scale of
# 1.5: a DCGL in the thousands and beyond still spans the plot (the 150 %
# grid line ends the horizontal axis), and the one-pixel grid lines are all
# equally thick in device pixels.
#   x_chart_test.sh <path to valdris-power>
set -euo pipefail

program=${1:?usage: x_chart_test.sh <valdris-power>}
root=$(cd "$(dirname "$0")/../.." && pwd)
source "$root/tests/support/x_session.sh"
work=$(mktemp -d)
shot=$work/design.png
report=$work/lines.txt
show_report() { echo "last screenshot: $shot"; cat "$report" >&2 || true; }
x_fail_hook=show_report

# Reports the black lines of the screenshot: the thicknesses of the
# horizontal ones, the widths of the vertical ones, where the horizontal ones
# end on the right (the curve and the red lines cross them, so it is the end
# of the last long stretch of black) and the right edge of the rightmost
# vertical line. Only the chart's lines are long runs of black.
chart_lines() {
  x_pixels "$1" | awk '
    function close_row() {
      if (row_best >= 300) { hy[++nh] = row; if (row_long_end > axis_end) axis_end = row_long_end }
    }
    {
      x = $1; y = $2; black = ($3 == "000000")
      if (y != row) { if (NR > 1) close_row(); row = y; run = 0; row_best = 0; row_long_end = 0 }
      run = black ? run + 1 : 0
      if (run > row_best) row_best = run
      if (run >= 20) row_long_end = x
      crun[x] = black ? crun[x] + 1 : 0
      if (crun[x] >= 150) vertical[x] = 1
      if (x > maxx) maxx = x
    }
    END {
      close_row()
      n = 0
      for (i = 1; i <= nh; i++) {
        if (i == 1 || hy[i] != hy[i - 1] + 1) thick[++n] = 0
        thick[n]++
      }
      printf "horizontal"; for (i = 1; i <= n; i++) printf " %d", thick[i]; printf "\n"
      printf "vertical"; w = 0
      for (x = 0; x <= maxx + 1; x++) {
        if (vertical[x]) { w++; right = x } else if (w) { printf " %d", w; w = 0 }
      }
      printf "\naxis_end %d\nrightmost %d\n", axis_end, right
    }'
}

all_equal() { [ "$(tr ' ' '\n' <<< "$*" | sort -u | grep -c .)" = 1 ]; }

# The chart as it is now: every line equally thick and the grid reaching
# the axis end.
chart_spans_evenly() {
  x_window_screenshot "$design" "$shot"
  chart_lines "$shot" > "$report"
  local horizontal vertical axis_end rightmost
  horizontal=$(sed -n 's/^horizontal //p' "$report")
  vertical=$(sed -n 's/^vertical //p' "$report")
  axis_end=$(sed -n 's/^axis_end //p' "$report")
  rightmost=$(sed -n 's/^rightmost //p' "$report")
  [ "$(wc -w <<< "$horizontal")" -ge 9 ] && [ "$(wc -w <<< "$vertical")" -ge 10 ] &&
    all_equal $horizontal && all_equal $vertical && [ "$axis_end" = "$rightmost" ]
}

x_session_start 1280x1024x24
trap 'x_session_stop; rm -rf "$work"' EXIT
QT_SCALE_FACTOR=1.5 x_start_at_design_window "$program"
design=$x_design_window

for dcgl in 5000 1000000; do
  x_focus "$design"
  xdotool key alt+d ctrl+a
  xdotool type "$dcgl"
  xdotool key Tab
  x_wait_for "the chart at DCGL $dcgl to span the plot with even lines" chart_spans_evenly
  pass "DCGL $dcgl at scale 1.5: $(tr '\n' ';' < "$report")"
done
x_report
