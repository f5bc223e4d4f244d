#!/usr/bin/env bash
# SPDX-License-Identifier: Apache-2.0
# A seeded random user of the real program under a window manager: random
# keys, clicks, held buttons and typed text, message boxes answered as they
# come (tests/support/random_user_x.py). Fails on a crash, a sanitizer report,
# a window that stops answering, two message boxes at once or a shown figure
# that is no sound number; prints the seed and the actions to replay it.
#   random_input_x_test.sh <valdris-power> [seed] [seconds]
# The seed and the length default to VALDRIS_RANDOM_SEED (else a fixed seed,
# so that CI runs the same actions each time) and
# VALDRIS_RANDOM_SECONDS (else 60).
set -euo pipefail
program=${1:?usage: random_input_x_test.sh <valdris-power> [seed] [seconds]}
seed=${2:-${VALDRIS_RANDOM_SEED:-2000}}
seconds=${3:-${VALDRIS_RANDOM_SECONDS:-60}}
source "$(dirname "$0")/../support/x_session.sh"

echo "random input run: seed $seed, $seconds s"
x_session_start 1280x1024x24
x_accessibility_start
x_start_at_design_window "$program"
controls_ready() { x_controls centre bar > /dev/null; }
x_wait_for "the controls on the accessibility bus" controls_ready

replay="replay: $0 $program $seed $seconds"
status=0
/usr/bin/python3 "$x_support_dir/random_user_x.py" "$x_program_pid" "$x_design_window" "$seed" "$seconds" \
  "$x_program_log" || status=$?
x_check_program_log
if [ "$status" = 3 ]; then
  # Closing the design window ends the program, and the run, normally.
  exit_status=0; wait "$x_program_pid" || exit_status=$?
  x_program_pid=
  [ "$exit_status" = 0 ] || { cat "$x_program_log" >&2; fail "the program ended with status $exit_status ($replay)"; }
  pass "random input run with seed $seed, ended by closing the design window"
else
  [ "$status" = 0 ] || fail "random input run, seed $seed ($replay)"
  pass "random input run with seed $seed"
fi
x_report
