#!/usr/bin/env bash
# SPDX-License-Identifier: Apache-2.0
# The seeded random user in the plan window of the real program under a
# window manager (tests/support/random_plan_user_x.py): cell edits, undo and
# redo storms, sorting, the pages, pasted text, dialogs cancelled, plans
# opened and saved. Fails on a crash, a sanitizer report, a question left
# unanswered for 5 s or two message boxes at once; prints the seed and the
# actions to replay it.
#   random_plan_x_test.sh <valdris-power> [seed] [seconds]
# The seed and the length default to VALDRIS_RANDOM_SEED (else a fixed seed,
# so that CI runs the same actions each time) and VALDRIS_RANDOM_SECONDS (else 50).
set -euo pipefail
program=${1:?usage: random_plan_x_test.sh <valdris-power> [seed] [seconds]}
seed=${2:-${VALDRIS_RANDOM_SEED:-3101}}
seconds=${3:-${VALDRIS_RANDOM_SECONDS:-50}}
root=$(cd "$(dirname "$0")/../.." && pwd)
source "$root/tests/support/x_session.sh"

scratch=$(mktemp -d)
export HOME=$scratch XDG_CONFIG_HOME=$scratch/config XDG_STATE_HOME=$scratch/state
plans=$scratch/plans
mkdir -p "$plans"
cd "$scratch"

echo "random plan window run: seed $seed, $seconds s"
x_session_start 1280x1024x24
trap 'x_session_stop; rm -rf "$scratch"' EXIT
x_accessibility_start
x_start_at_design_window "$program"
x_focus "$x_design_window"
xdotool key --clearmodifiers ctrl+d
x_wait_for "the plan window" x_has_window_named 'Survey Plan - Untitled\*'
plan_window=$(x_window_named 'Survey Plan - Untitled\*')
x_save_plan_as "$plan_window" "$plans/site.vplan"
# Files the user's Open Plan may come upon besides its own saves.
printf '{"units":[' > "$plans/cut.vplan"
head -c 3000 /dev/urandom > "$plans/noise.vplan"
printf 'Cs-137 (Bq/kg)\n0.4\n0.7\n1.1\n' > "$plans/values.csv"
frame_ready() { x_controls tree | grep -q 'Survey Plan - site.vplan'; }
x_wait_for "the plan window on the accessibility bus" frame_ready

replay="replay: $0 $program $seed $seconds"
status=0
/usr/bin/python3 "$x_support_dir/random_plan_user_x.py" "$x_program_pid" "$plan_window" "$seed" "$seconds" \
  "$x_program_log" "$plans" || status=$?
x_check_program_log
[ "$status" = 0 ] || fail "random plan window run, seed $seed ($replay)"
pass "random plan window run with seed $seed"
x_report
